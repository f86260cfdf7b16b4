/*
** The wizard's logic wired together.
*/
#include "wizard_assembly.h"

#include "migration/fb/error.h"

namespace kv {
namespace {

int StatusOf(InstallOutcome outcome) {
  switch (outcome) {
    case InstallOutcome::Completed: return kCompleted;
    case InstallOutcome::PackFailed: return kPackFailed;
    case InstallOutcome::FilesNotReplaced: return kFilesNotReplaced;
    case InstallOutcome::NumberedFinished: return kNumberedFinished;
    case InstallOutcome::UnexpectedError: return kUnexpectedError;
    case InstallOutcome::NoDatabase: return kNoDatabase;
    case InstallOutcome::NotStarted: return kNotStarted;
    case InstallOutcome::OthersConnected: return kOthersConnected;
  }
  return kUnexpectedError;
}

}  // namespace

int StartExitStatus(const StartResult& result, bool creationFailed, int relaunched) {
  switch (result.outcome) {
    case StartOutcome::Closed: return result.exitStatus;
    case StartOutcome::Relaunched: return relaunched;
    case StartOutcome::ChecksFailed: return creationFailed ? kUnexpectedError : kStartRefused;
    case StartOutcome::Refused:
    case StartOutcome::NotRelaunched: return kStartRefused;
    case StartOutcome::Failed: return kUnexpectedError;
  }
  return kUnexpectedError;
}

std::unique_ptr<fb::Client> LoadClient(OperatorDialog& dialog) {
  try {
    return fb::Client::Load();
  } catch (const fb::ClientUnavailable& e) {
    dialog.ShowMessage(e.what());
    throw;
  }
}

WizardAssembly::WizardAssembly(WizardWindow& window, Installation& installation, RegisterLog& log,
                               Registry& registry, const fb::Client& client, const std::string& ownPath,
                               Clock& clock, FileSystem& fs, RunLog& runLog, MigrationObserver* failures,
                               RunSafety safety, MigrationObserver* report, SessionGuard* session,
                               std::optional<std::chrono::seconds> lockTimeout)
    : window_(window, runLog),
      logObserver_(runLog),
      executable_(OpenBundledExecutable(ownPath, true)),
      gauge_(window_),
      progress_(&gauge_, clock),
      migration_{client, installation, window_, fs, version_, progress_, nullptr, &observers_},
      run_{window_, log, registry, fs, *executable_, installation, migration_, &runLog, std::move(safety)},
      form_({window_, log, registry, *executable_, ownPath, installation, FreshVersionRecordReader(migration_),
             [this](const FileVersion& carried) { outcome_ = RunInstall(run_, carried); }}) {
  run_.session = session;
  observers_.Add(logObserver_);
  if (failures) observers_.Add(*failures);
  if (report) observers_.Add(*report);
  if (!run_.safety.clock) run_.safety.clock = &clock;
  if (lockTimeout) migration_.lockTimeout = *lockTimeout;
}

RunSafety SafetyFrom(const CommandLine& cl, bool operatorPresent) {
  RunSafety safety;
  safety.backup = cl.backup;
  safety.keepBackups = cl.keepBackups;
  safety.connections = operatorPresent ? ConnectionCheck::Ask : ConnectionCheck::Stop;
  safety.restore = cl.restoreOnFailure ? RestorePolicy::Always
                   : operatorPresent   ? RestorePolicy::Ask
                                       : RestorePolicy::Never;
  return safety;
}

int WizardAssembly::ExitStatus() const {
  if (form_.OwnFileDamaged()) return kProgramDamaged;
  if (!form_.UpgradeOffered()) return kVersionBlocked;
  return outcome_ ? StatusOf(*outcome_) : kCompleted;
}

}  // namespace kv
