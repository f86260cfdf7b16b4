/*
** The conformance suite's driver of the native views under Wine: BM_CLICK on
** the controls, keys as the dialog manager hands them on, modal windows found
** by class from a timer while their loop runs, window creation refused by a
** CBT hook.
*/
#include <gtest/gtest.h>

#include <memory>

#include "conformance/view_driver.h"
#include "platform/registry.h"
#include "screenshot.h"
#include "views/win32/wizard_window.h"
#include "window_watch.h"
#include "wine_test_support.h"
#include "wizard/wizard_forms.h"

#include <commctrl.h>  // after windows.h

namespace kv::test {
namespace {

/* The toolkit's line breaks as "\n". */
std::string Lines(std::string text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

class Win32ViewDriver final : public ViewDriver {
 public:
  std::string FreshFolder() override { return FreshTempFolder("kvviews"); }
  char Separator() const override { return '\\'; }
  Registry& UserRegistry() override { return *registry_; }
  std::string ProgramPath() const override { return WinPath(KV_UPGRADE_EXE); }

  WizardWindow& Window() override { return window_; }
  void Attach(WizardForm& form) override { window_.Attach(form); }
  void Show() override {
    window_.ShowCentred();
    test::Wait(100);
  }
  void Click(const char* element) override { test::Click(Get(element)); }
  bool Enabled(const char* element) override { return ::IsWindowEnabled(Get(element)) != FALSE; }
  bool Visible(const char* element) override { return ::IsWindowVisible(Get(element)) != FALSE; }
  std::string Text(const char* element) override { return Lines(WindowText(Get(element))); }
  std::string Title() override { return WindowText(Root()); }
  int ClientWidth() override { return ClientRect().right; }
  int ClientHeight() override { return ClientRect().bottom; }
  std::vector<std::string> TabOrder() override {
    std::vector<std::string> order;
    HWND start = Get("Button2");
    for (HWND w = ::GetNextDlgTabItem(Root(), start, FALSE); w && w != start && order.size() < 50;
         w = ::GetNextDlgTabItem(Root(), w, FALSE))
      order.push_back(NameOf(w));
    return order;
  }
  void PressEscape(const char* element) override {
    HWND w = Get(element);
    ::SetFocus(w);
    MSG escape{w, WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {}};
    if (!::IsDialogMessageW(Root(), &escape)) ::DispatchMessageW(&escape);
    window_.PumpMessages();
  }
  bool Closed() override { return window_.Closed(); }
  void RunWithClick(const char* element) override {
    ::PostMessageW(Get(element), BM_CLICK, 0, 0);
    window_.RunUntilClosed();
  }
  void Wait(int ms) override { test::Wait(ms); }
  void Screenshot(const std::string& name) override {
    EXPECT_TRUE(test::Screenshot(Root(), "win32-" + name)) << name;
  }
  void ActivateAnotherWindow() override {
    other_ = win32::UniqueWindow(::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                                   nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(other_);
    ::SetActiveWindow(other_.Get());
  }

  void WhenModal(Modal kind, std::function<void()> act) override {
    watch_.reset();
    modal_ = nullptr;
    watch_ = std::make_unique<WhenShown>(kind == Modal::News ? L"TFormUpgrade2" : L"#32770",
                                         [this, act](HWND w) {
                                           modal_ = w;
                                           act();
                                         });
  }
  bool ModalSeen() override { return watch_ && watch_->Seen(); }
  bool WizardBlocked() override { return !::IsWindowEnabled(Root()); }
  BoxSeen ReadBox() override {
    const MessageBoxContent c = Read(modal_);
    return {Lines(c.text), static_cast<int>(c.buttons.size()), c.icon, ::GetWindow(modal_, GW_OWNER) == Root()};
  }
  void AnswerBox(bool yes) override {
    HWND button = ::GetDlgItem(modal_, yes ? IDYES : IDNO);
    if (!button) button = ::GetDlgItem(modal_, IDOK);
    test::Click(button);
  }
  void ScreenshotModal(const std::string& name) override {
    EXPECT_TRUE(test::Screenshot(modal_, "win32-" + name)) << name;
  }
  std::vector<std::string> NewsTabs() override {
    std::vector<std::string> tabs;
    HWND strip = NewsStrip();
    for (int i = 0; i < TabCtrl_GetItemCount(strip); ++i) tabs.push_back(TabCaption(strip, i));
    return tabs;
  }
  void PickNewsTab(int index) override {
    TabCtrl_SetCurFocus(NewsStrip(), index);  // as a click on the tab: the window is told of the change
  }
  std::string NewsPage() override {
    HWND strip = NewsStrip();
    HWND memo = ::FindWindowExW(::GetParent(strip), nullptr, L"EDIT", nullptr);
    return TabCaption(strip, TabCtrl_GetCurSel(strip)) + "|" + Lines(WindowText(memo));
  }
  void CloseNews() override { ::PostMessageW(modal_, WM_CLOSE, 0, 0); }
  void PressEscapeInNews() override {
    watchdog_ = std::make_unique<NewsWatchdog>();
    HWND focus = ::GetFocus();
    HWND target = focus ? focus : modal_;
    ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  }
  bool EscapeClosedNews() override {
    const bool closed = watchdog_ && !NewsWatchdog::Fired();
    watchdog_.reset();
    return closed;
  }
  bool RefuseNewsWindows(bool refused) override {
    refusal_.reset();
    if (refused) refusal_ = std::make_unique<CreationRefused>(L"TFormUpgrade2");
    return true;
  }

 private:
  HWND Root() const { return window_.Form().Root(); }
  HWND Get(const char* element) const { return window_.Form().Get(element); }
  RECT ClientRect() const {
    RECT r{};
    ::GetClientRect(Root(), &r);
    return r;
  }
  std::string NameOf(HWND w) const {
    for (const form::Element& e : WizardFormDescription().elements)
      if (e.kind != form::Kind::Timer && window_.Form().Get(e.name) == w) return std::string(e.name);
    return "?";
  }
  HWND NewsStrip() const {
    HWND strip = nullptr;
    ::EnumChildWindows(
        modal_,
        [](HWND child, LPARAM found) {
          wchar_t cls[32] = {};
          ::GetClassNameW(child, cls, 32);
          if (std::wstring(cls) == WC_TABCONTROLW) *reinterpret_cast<HWND*>(found) = child;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&strip));
    EXPECT_TRUE(strip) << "the news window has no tab strip";
    return strip;
  }
  static std::string TabCaption(HWND strip, int i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    TabCtrl_GetItem(strip, i, &item);
    return win32::Utf8(text);
  }

  std::unique_ptr<Registry> registry_ = OpenEnvironmentRegistry();
  win32::Win32WizardWindow window_;
  win32::UniqueWindow other_;
  std::unique_ptr<WhenShown> watch_;
  std::unique_ptr<NewsWatchdog> watchdog_;
  std::unique_ptr<CreationRefused> refusal_;
  HWND modal_ = nullptr;
};

}  // namespace

std::unique_ptr<ViewDriver> OpenViewDriver() { return std::make_unique<Win32ViewDriver>(); }

}  // namespace kv::test
