/*
** The wizard window's events as both views deliver them to the logic.
**
** States: detached (events are ignored: the window exists before the form
** behind it) -> attached. A handler's error is shown to the operator in a
** message box: it must not cross the toolkit's event loop.
*/
#pragma once

#include <string_view>

#include "platform/dialog.h"
#include "wizard/wizard_clicks.h"
#include "wizard/wizard_form.h"

namespace kv {

class WizardEvents {
 public:
  explicit WizardEvents(OperatorDialog& dialog, const ClickTable& clicks = WizardClicks())
      : dialog_(dialog), clicks_(clicks) {}

  void Attach(WizardForm& form) { form_ = &form; }

  /* Runs action on the form; its std::exception is shown, not thrown. */
  void Run(WizardAction action);
  /* A click (or tick) of element: the action the click table names, if any. */
  void Clicked(std::string_view element);
  void Activated() { Run(&WizardForm::FormActivate); }
  /* False while the form refuses to close; otherwise runs its close handler. */
  bool CloseRequested();

  const ClickTable& Clicks() const { return clicks_; }

 private:
  OperatorDialog& dialog_;
  const ClickTable& clicks_;
  WizardForm* form_ = nullptr;
};

}  // namespace kv
