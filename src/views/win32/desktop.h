/*
** The desktop around the windows on Windows: message boxes, the screen, the
** splash window with its message pumping and the Ctrl key, and the console a
** windowed start does not need.
*/
#pragma once

#include <memory>
#include <string>

#include "platform/dialog.h"
#include "platform/screen.h"
#include "startup/splash.h"

namespace kv::win32 {

/* MessageBoxW with OK, or with Yes and No and no icon, over the active window
** of the program. A carriage return in the text is a line break. The title is
** the application's. */
class Win32Dialog final : public OperatorDialog {
 public:
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
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
};

/* Started from the desktop, a console program gets a console window of its
** own: with windows to show, it is closed. A console the program shares with
** the shell that started it stays. */
void ReleaseOwnConsole();

}  // namespace kv::win32
