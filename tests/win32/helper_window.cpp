// A top-level window for the tests of the window list: helper_window CLASS
// TITLE [ignore-close]. It closes on WM_CLOSE unless told to ignore it, and
// ends by itself after 30 seconds.
#include <windows.h>

#include <string>

namespace {

bool ignoreClose = false;

LRESULT CALLBACK Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_CLOSE && ignoreClose) return 0;
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(w, message, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 64;
  ignoreClose = argc > 3 && std::wstring(argv[3]) == L"ignore-close";
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = argv[1];
  if (!::RegisterClassW(&wc)) return 1;
  HWND w = ::CreateWindowW(argv[1], argv[2], WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
  if (!w) return 2;
  ::SetTimer(w, 1, 30000, nullptr);
  MSG m;
  while (::GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_TIMER) break;
    ::DispatchMessageW(&m);
  }
  return 0;
}
