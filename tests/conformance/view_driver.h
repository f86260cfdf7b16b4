/*
** What the views' conformance suite needs from a toolkit: the wizard window
** built by that toolkit, driven as an operator drives it, and read back.
**
** Each toolkit's driver (qt_view_driver.cpp on Linux, win32_view_driver.cpp
** under Wine) implements it; the suite is the same source for both. Texts
** are UTF-8 with lines joined by "\n", whatever the toolkit's line breaks.
*/
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "wizard/wizard_form.h"
#include "wizard/wizard_window.h"

namespace kv::test {

enum class Modal { MessageBox, News };

struct BoxSeen {
  std::string text;
  int buttons = 0;
  bool icon = false;
  bool ownedByWizard = false;
};

class ViewDriver {
 public:
  virtual ~ViewDriver() = default;

  // Where the wizard's installation lives on this platform.
  /* A new empty folder, ending with the platform's separator. */
  virtual std::string FreshFolder() = 0;
  virtual char Separator() const = 0;
  virtual Registry& UserRegistry() = 0;
  /* The built program, as the platform names it. */
  virtual std::string ProgramPath() const = 0;

  // The wizard window.
  virtual WizardWindow& Window() = 0;
  virtual void Attach(WizardForm& form) = 0;
  /* Shows the window centred and lets it settle. */
  virtual void Show() = 0;
  virtual void Click(const char* element) = 0;
  virtual bool Enabled(const char* element) = 0;
  virtual bool Visible(const char* element) = 0;
  virtual std::string Text(const char* element) = 0;
  virtual std::string Title() = 0;
  virtual int ClientWidth() = 0;
  virtual int ClientHeight() = 0;
  /* The elements the Tab key reaches from Button2 on, until it comes back to it. */
  virtual std::vector<std::string> TabOrder() = 0;
  /* Escape pressed with element focused, delivered as the toolkit's loop would. */
  virtual void PressEscape(const char* element) = 0;
  virtual bool Closed() = 0;
  /* Runs the window's own loop (as the program does) with a click of element
  ** waiting in it; returns when the loop does, once the window has closed. */
  virtual void RunWithClick(const char* element) = 0;
  /* Processes events for about ms milliseconds. */
  virtual void Wait(int ms) = 0;
  /* Saves the wizard under the toolkit's name for the screenshot called name. */
  virtual void Screenshot(const std::string& name) = 0;
  /* Makes another window of the program the active one. */
  virtual void ActivateAnotherWindow() = 0;

  // Modal windows. act runs once one of the kind shows, while the code that
  // showed it waits in its modal loop; the calls below it are made from act.
  virtual void WhenModal(Modal kind, std::function<void()> act) = 0;
  virtual bool ModalSeen() = 0;
  /* True while the wizard takes no input because of the modal window. */
  virtual bool WizardBlocked() = 0;
  virtual BoxSeen ReadBox() = 0;
  /* Answers the message box: OK or Yes when yes, else No. */
  virtual void AnswerBox(bool yes) = 0;
  virtual void ScreenshotModal(const std::string& name) = 0;
  virtual std::vector<std::string> NewsTabs() = 0;
  virtual void PickNewsTab(int index) = 0;
  /* The picked tab's caption, "|" and the news memo's text. */
  virtual std::string NewsPage() = 0;
  virtual void CloseNews() = 0;
  /* Presses Escape in the news window; false when it stayed open (it is
  ** then closed otherwise, so that the test goes on). */
  virtual void PressEscapeInNews() = 0;
  virtual bool EscapeClosedNews() = 0;

  /* Makes creating news windows fail while refused is true. False when the
  ** toolkit offers no way to make a window's creation fail. */
  virtual bool RefuseNewsWindows(bool refused) = 0;
};

/* The driver of the toolkit the suite is built with. */
std::unique_ptr<ViewDriver> OpenViewDriver();

}  // namespace kv::test
