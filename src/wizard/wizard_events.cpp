#include "wizard/wizard_events.h"

#include <exception>

namespace kv {

void WizardEvents::Run(WizardAction action) {
  if (!form_) return;
  try {
    (form_->*action)();
  } catch (const std::exception& e) {
    dialog_.ShowMessage(e.what());
  }
}

void WizardEvents::Clicked(std::string_view element) {
  if (WizardAction action = clicks_.Find(element)) Run(action);
}

bool WizardEvents::CloseRequested() {
  if (form_ && !form_->CanClose()) return false;
  Run(&WizardForm::FormClose);
  return true;
}

}  // namespace kv
