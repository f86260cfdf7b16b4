/*
** Helpers of the tests that drive native windows as an operator does: clicks,
** windows looked at once they show up while a modal loop blocks the caller,
** message boxes read back, window creation refused on purpose.
*/
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "views/win32/desktop.h"

namespace kv::test {

using win32::WindowText;

inline void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }

/* Processes messages for about ms milliseconds. */
inline void Wait(int ms) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(ms);
  while (::GetTickCount64() < end) {
    win32::PumpPendingMessages();
    ::Sleep(10);
  }
}

/* Runs look once a window of class className shows up in this process (a
** modal window or message box blocks the caller meanwhile). */
class WhenShown {
 public:
  WhenShown(const wchar_t* className, std::function<void(HWND)> look) : className_(className), look_(std::move(look)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 50, &WhenShown::Tick);
  }
  ~WhenShown() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool Seen() const { return seen_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    WhenShown* self = current_;
    if (!self || self->seen_) return;
    HWND w = ::FindWindowW(self->className_, nullptr);
    DWORD pid = 0;
    if (!w || !::IsWindowVisible(w) || (::GetWindowThreadProcessId(w, &pid), pid != ::GetCurrentProcessId())) return;
    self->seen_ = true;
    self->look_(w);
  }
  static inline WhenShown* current_ = nullptr;
  const wchar_t* className_;
  std::function<void(HWND)> look_;
  UINT_PTR timer_ = 0;
  bool seen_ = false;
};

/* The static text and the buttons of a message box. */
struct MessageBoxContent {
  std::string text;
  std::vector<std::string> buttons;
  bool icon = false;
};

inline MessageBoxContent Read(HWND box) {
  MessageBoxContent c;
  for (HWND w = ::GetWindow(box, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    ::GetClassNameW(w, cls, 32);
    const std::wstring kind = cls;
    if (kind == L"Button") c.buttons.push_back(WindowText(w));
    else if (kind == L"Static" && (::GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) c.icon = c.icon || ::SendMessageW(w, STM_GETICON, 0, 0) != 0;
    else if (kind == L"Static" && !WindowText(w).empty()) c.text = WindowText(w);
  }
  return c;
}

/* Cancels the creation of this thread's windows of one class while it lives. */
class CreationRefused {
 public:
  explicit CreationRefused(const wchar_t* className)
      : hook_(::SetWindowsHookExW(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId())) {
    className_ = className;
  }
  ~CreationRefused() {
    ::UnhookWindowsHookEx(hook_);
    className_ = nullptr;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && className_) {
      wchar_t cls[64] = {};
      ::GetClassNameW(reinterpret_cast<HWND>(wp), cls, 64);
      if (std::wstring(cls) == className_) return 1;
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline const wchar_t* className_ = nullptr;
  HHOOK hook_;
};

/* Closes the news window if it is still open after a few seconds, so that a
** window deaf to Escape fails the test instead of holding it. */
class NewsWatchdog {
 public:
  NewsWatchdog() : timer_(::SetTimer(nullptr, 0, 3000, &Fire)) { fired_ = false; }
  ~NewsWatchdog() { ::KillTimer(nullptr, timer_); }
  static bool Fired() { return fired_; }

 private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND w = ::FindWindowW(L"TFormUpgrade2", nullptr)) {
      fired_ = true;
      ::PostMessageW(w, WM_CLOSE, 0, 0);
    }
  }
  static inline bool fired_ = false;
  UINT_PTR timer_;
};

}  // namespace kv::test
