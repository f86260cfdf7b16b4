/*
** The top-level windows of the desktop, in Z order, and the close request.
*/
#include "platform/window_list.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

constexpr int kTitleChars = 127;
/* A window that does not answer the close request within this time is taken
** as having refused it: a hung program must not hang the wizard. */
constexpr UINT kCloseTimeoutMs = 5000;

HWND AsHwnd(WindowHandle h) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(h)); }
WindowHandle AsHandle(HWND h) { return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(h)); }

class WindowsWindowList final : public WindowList {
 public:
  std::vector<TopLevelWindow> TopLevelWindows() override {
    // EnumWindows takes its snapshot at once: a GW_HWNDNEXT walk can loop, or
    // reach a window destroyed meanwhile.
    std::vector<HWND> windows;
    ::EnumWindows(
        [](HWND w, LPARAM list) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<TopLevelWindow> out;
    const DWORD self = ::GetCurrentProcessId();
    for (HWND w : windows) {
      TopLevelWindow t;
      t.handle = AsHandle(w);
      t.owner = AsHandle(::GetWindow(w, GW_OWNER));
      wchar_t title[kTitleChars + 1] = {};
      const int n = ::GetWindowTextW(w, title, kTitleChars + 1);
      t.title = win32::Utf8(std::wstring_view(title, n > 0 ? static_cast<size_t>(n) : 0));
      DWORD process = 0;
      ::GetWindowThreadProcessId(w, &process);
      t.ownApplication = process == self && t.owner == 0;
      out.push_back(std::move(t));
    }
    return out;
  }

  std::optional<WindowHandle> FindWindow(std::string_view className, std::optional<std::string_view> title) override {
    const std::wstring cls = win32::Wide(className);
    const std::wstring caption = title ? win32::Wide(*title) : std::wstring();
    HWND w = ::FindWindowW(cls.c_str(), title ? caption.c_str() : nullptr);
    if (!w) return std::nullopt;
    return AsHandle(w);
  }

  void SendCloseRequest(WindowHandle window) override {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(AsHwnd(window), WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kCloseTimeoutMs, &result);
  }
};

}  // namespace

std::unique_ptr<WindowList> OpenTopLevelWindows() { return std::make_unique<WindowsWindowList>(); }

}  // namespace kv
