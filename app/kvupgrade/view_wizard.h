/*
** The wizard window as the start sequence creates it, over the view of either
** toolkit: the window with the wizard's logic behind it, its start page built
** at creation.
**
** View is a WizardWindow with Attach, ShowCentred and RunUntilClosed. A view
** with a Session() of its own (the native window answers the end of the
** session) holds the run's session guard; otherwise the program's guard
** (signals, the console's events) is opened for the wizard's lifetime.
*/
#pragma once

#include <memory>
#include <string>

#include "platform/session_guard.h"
#include "startup/start_sequence.h"
#include "wizard_assembly.h"

namespace kv {

template <class View>
class ViewWizard final : public MainWindow {
 public:
  /* Builds the window and runs FormCreate (errors go to the caller); the
  ** migration is reported to report too, when given. */
  ViewWizard(Installation& installation, RegisterLog& log, Registry& registry, const fb::Client& client,
             const std::string& ownPath, RunLog& runLog, RunSafety safety = {}, MigrationObserver* report = nullptr)
      : wizard_(window_, installation, log, registry, client, ownPath, SystemClock(), RealFileSystem(), runLog,
                nullptr, std::move(safety), report, SessionOf(window_, ownSession_)) {
    window_.Attach(wizard_.Form());
    wizard_.Form().FormCreate();
  }

  /* Shows the window and processes events until it closes. */
  int RunMessageLoop() override {
    window_.ShowCentred();
    window_.RunUntilClosed();
    return wizard_.ExitStatus();
  }

  View& Window() { return window_; }
  WizardAssembly& Wizard() { return wizard_; }

 private:
  static SessionGuard* SessionOf(View& view, std::unique_ptr<SessionGuard>& own) {
    if constexpr (requires { view.Session(); }) {
      return &view.Session();
    } else {
      own = OpenSessionGuard();
      return own.get();
    }
  }

  View window_;
  std::unique_ptr<SessionGuard> ownSession_;
  WizardAssembly wizard_;
};

}  // namespace kv
