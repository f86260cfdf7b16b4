/*
** The desktop around the windows, in Qt: modal message boxes, the screen, the
** splash window with its message pumping and the Ctrl key.
*/
#pragma once

#include <memory>
#include <string>

#include "platform/dialog.h"
#include "platform/screen.h"
#include "startup/splash.h"

class QWidget;

namespace kv::qt {

/* Message boxes: text with an OK button, or Yes and No without an icon. A
** carriage return in the text is a line break. The title is the application's. */
class QtDialog final : public OperatorDialog {
 public:
  /* parent: the window the boxes are modal to; null for the application. */
  explicit QtDialog(QWidget* parent = nullptr) : parent_(parent) {}
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;

 private:
  QWidget* parent_;
};

class QtScreen final : public Screen {
 public:
  std::optional<ScreenSize> Size() override;
};

/* The splash window built from its description; pumping processes pending
** events; the Ctrl key is read from the keyboard at the moment of asking. */
class QtSplashOperations final : public SplashOperations {
 public:
  std::unique_ptr<SplashWindow> CreateSplash() override;
  void PumpMessages() override;
  bool CtrlKeyHeld() override;
};

/* The object name of the splash's root widget while one is open. */
inline constexpr const char* kSplashObjectName = "TFormZastavka7";

}  // namespace kv::qt
