/*
** GetDpiForWindow and GetDpiForSystem came with Windows 10 (1607): they are
** looked up at run time, so the program still starts where they are missing.
*/
#include "views/win32/dpi.h"

namespace kv::win32 {
namespace {

template <class Function>
Function User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int WindowDpi(HWND w) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow && w ? getDpiForWindow(w) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

int SystemDpi() {
  using GetDpiForSystemFunction = UINT(WINAPI*)();
  static const auto getDpiForSystem = User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
  const UINT dpi = getDpiForSystem ? getDpiForSystem() : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

}  // namespace kv::win32
