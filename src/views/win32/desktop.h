/*
** The desktop around the windows on Windows: message boxes, the screen, the
** splash window with its message pumping and the Ctrl key, and the console a
** windowed start does not need.
*/
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/win32/wide.h"
#include "platform/dialog.h"
#include "platform/screen.h"
#include "startup/splash.h"

namespace kv::win32 {

/* MessageBoxW with OK, or with Yes and No and no icon, owned by the window
** owner names (disabled while the box is up; none when it names none). A
** carriage return in the text is a line break. The title is the application's. */
class Win32Dialog final : public OperatorDialog {
 public:
  explicit Win32Dialog(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;

 private:
  std::function<HWND()> owner_;
};

class Win32Screen final : public Screen {
 public:
  std::optional<ScreenSize> Size() override;
};

/* The splash window TFormZastavka7 built from its description. */
class Win32SplashOperations final : public SplashOperations {
 public:
  std::unique_ptr<SplashWindow> CreateSplash() override;
  void PumpMessages() override;
  bool CtrlKeyHeld() override;
  /* The splash window while one exists (the owner of the start's message boxes), else null. */
  HWND Window() const;

 private:
  friend class Win32SplashWindow;
  class Win32SplashWindow* splash_ = nullptr;
};

/* The visible top-level window of this thread that no other window owns (the
** splash or the wizard), or null: the owner of messages from code that does
** not know the window. */
HWND ProgramWindow();

/* Started from the desktop, a console program gets a console window of its
** own: with windows to show, it is closed. A console the program shares with
** the shell that started it stays. */
void ReleaseOwnConsole();

}  // namespace kv::win32
