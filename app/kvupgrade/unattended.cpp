/*
** The unattended mode.
*/
#include "unattended.h"

#include "console_window.h"
#include "migration/fb/client.h"
#include "migration/fb/error.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "platform/posix/reg_file_registry.h"
#include "platform/process.h"
#include "platform/service_status.h"
#include "platform/window_list.h"
#include "startup/environment_check.h"
#include "startup/start_sequence.h"
#include "wizard/install_run.h"
#include "wizard/wizard_form.h"

namespace kv::console {
namespace {

class NoScreen final : public Screen {
 public:
  std::optional<ScreenSize> Size() override { return std::nullopt; }
};

/* Starting the relaunched copy waits for it, so that its status becomes ours. */
class WaitingProcesses final : public ProcessControl {
 public:
  explicit WaitingProcesses(ProcessControl& real) : real_(real) {}
  std::string OwnPath() override { return real_.OwnPath(); }
  bool Start(const std::string& path, const std::vector<std::string>& args) override {
    copyStatus = real_.RunAndWait(path, args);
    return copyStatus.has_value();
  }
  std::optional<int> RunAndWait(const std::string& path, const std::vector<std::string>& args) override {
    return real_.RunAndWait(path, args);
  }
  std::optional<int> copyStatus;

 private:
  ProcessControl& real_;
};

int StatusOf(InstallOutcome outcome) {
  switch (outcome) {
    case InstallOutcome::Completed: return kCompleted;
    case InstallOutcome::PackFailed: return kPackFailed;
    case InstallOutcome::FilesNotReplaced: return kFilesNotReplaced;
    case InstallOutcome::NumberedFinished: return kNumberedFinished;
    case InstallOutcome::UnexpectedError: return kUnexpectedError;
  }
  return kUnexpectedError;
}

/* The wizard with its buttons pressed in order: Next, the agreement ticked,
** Next, Install. */
class ConsoleWizard final : public MainWindow {
 public:
  ConsoleWizard(Installation& installation, RegisterLog& log, Registry& registry, std::unique_ptr<fb::Client> client,
                const std::string& ownPath, std::ostream& out, std::ostream& err)
      : window_(out, err, SystemClock()),
        client_(std::move(client)),
        executable_(OpenBundledExecutable(ownPath)),
        migration_{*client_, installation, window_, RealFileSystem(), version_, progress_},
        run_{window_, log, registry, RealFileSystem(), *executable_, installation, migration_},
        form_({window_, log, registry, *executable_, ownPath, installation, FreshVersionRecordReader(migration_),
               [this](const FileVersion& carried) { outcome_ = RunInstall(run_, carried); }}) {}

  int RunMessageLoop() override {
    form_.FormCreate();
    form_.FormActivate();
    if (form_.UpgradeOffered()) {
      form_.Button1Click();  // to the agreement
      form_.CheckBox1Click();
      form_.Button1Click();  // to the install page
      form_.Button1Click();  // Install
    }
    form_.FormClose();
    if (!form_.UpgradeOffered()) return kVersionBlocked;
    return outcome_ ? StatusOf(*outcome_) : kUnexpectedError;
  }

 private:
  ConsoleWindow window_;
  std::unique_ptr<fb::Client> client_;
  std::unique_ptr<OwnExecutable> executable_;
  FirebirdVersionState version_;
  WindowGauge gauge_{window_};
  PackProgress progress_{&gauge_, SystemClock()};
  MigrationServices migration_;
  InstallRunServices run_;
  std::optional<InstallOutcome> outcome_;
  WizardForm form_;
};

}  // namespace

int RunUnattended(const CommandLine& commandLine, std::ostream& out, std::ostream& err) {
  NoScreen screen;
  ConsoleSplash splash(out);
  ConsoleDialog dialog(err);
  WaitingProcesses processes(RealProcesses());
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  std::unique_ptr<WindowList> windows = OpenTopLevelWindows();
  bool clientMissing = false;

  StartServices services{
      screen,
      splash,
      dialog,
      RealFileSystem(),
      processes,
      SystemClock(),
      *registry,
      [&](RegisterLog& log) {
        EnvironmentServices e{SystemServices(), *windows, dialog, SystemClock(), log};
        return CheckEnvironment(e);
      },
      SetDatabasePaths,
      [&](Installation& installation, RegisterLog& log) -> std::unique_ptr<MainWindow> {
        std::unique_ptr<fb::Client> client;
        try {
          client = fb::Client::Load();
        } catch (const fb::ClientUnavailable& e) {
          clientMissing = true;
          dialog.ShowMessage(e.what());
          throw;
        }
        return std::make_unique<ConsoleWizard>(installation, log, *registry, std::move(client),
                                               processes.OwnPath(), out, err);
      },
  };

  const StartResult result = RunMainSequence(commandLine, services);
  switch (result.outcome) {
    case StartOutcome::Closed: return result.exitStatus;
    case StartOutcome::Relaunched: return processes.copyStatus.value_or(kUnexpectedError);
    case StartOutcome::ChecksFailed: return clientMissing ? kUnexpectedError : kStartRefused;
    case StartOutcome::Refused:
    case StartOutcome::NotRelaunched: return kStartRefused;
    case StartOutcome::Failed: return kUnexpectedError;
  }
  return kUnexpectedError;
}

}  // namespace kv::console
