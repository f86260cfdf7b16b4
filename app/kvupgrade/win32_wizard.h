/*
** The wizard window as the start sequence creates it on Windows: the native
** window with the wizard's logic behind it, its start page built at creation.
*/
#pragma once

#include "startup/start_sequence.h"
#include "views/win32/wizard_window.h"
#include "wizard_assembly.h"

namespace kv {

class Win32Wizard final : public MainWindow {
 public:
  /* Builds the window and runs FormCreate (errors go to the caller); the
  ** migration is reported to report too, when given. */
  Win32Wizard(Installation& installation, RegisterLog& log, Registry& registry, const fb::Client& client,
              const std::string& ownPath, RunLog& runLog, RunSafety safety = {}, MigrationObserver* report = nullptr);

  /* Shows the window and processes messages until it closes. */
  int RunMessageLoop() override;

  win32::Win32WizardWindow& Window() { return window_; }
  WizardAssembly& Wizard() { return wizard_; }

 private:
  win32::Win32WizardWindow window_;
  WizardAssembly wizard_;
};

}  // namespace kv
