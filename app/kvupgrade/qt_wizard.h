/*
** The wizard window as the start sequence creates it: the Qt window with the
** wizard's logic behind it, its start page built at creation.
*/
#pragma once

#include "startup/start_sequence.h"
#include "views/qt/qt_wizard_window.h"
#include "wizard_assembly.h"

namespace kv {

class QtWizard final : public MainWindow {
 public:
  /* Builds the window and runs FormCreate (errors go to the caller); the
  ** migration is reported to report too, when given. */
  QtWizard(Installation& installation, RegisterLog& log, Registry& registry, const fb::Client& client,
           const std::string& ownPath, RunLog& runLog, RunSafety safety = {}, MigrationObserver* report = nullptr);

  /* Shows the window and runs the event loop until it closes. */
  int RunMessageLoop() override;

  qt::QtWizardWindow& Window() { return window_; }
  WizardAssembly& Wizard() { return wizard_; }

 private:
  qt::QtWizardWindow window_;
  std::unique_ptr<SessionGuard> session_ = OpenSessionGuard();
  WizardAssembly wizard_;
};

}  // namespace kv
