/*
** kvupgrade --restore.
*/
#include "restore_command.h"

#include "console_window.h"
#include "installation_lookup.h"
#include "migration/backup.h"
#include "migration/progress.h"
#include "platform/clock.h"
#include "platform/instance_lock.h"
#include "platform/registry.h"
#include "platform/session_guard.h"
#include "program_start.h"
#include "wizard_assembly.h"

namespace kv {
namespace {

class RestoreOnConsole final : public BackupObserver {
 public:
  explicit RestoreOnConsole(std::ostream& out) : out_(out) {}
  void Restoring(const BackupEntry& e) override {
    out_ << "Восстановление: " << e.database << " (ServicePack " << e.servicePack << ", Build " << e.build << ")"
         << std::endl;
  }
  void Progress(BackupPhase, const std::string& database, const std::string& activity) override {
    out_ << "> Восстановление: " << database << ": " << activity << std::endl;
  }

 private:
  std::ostream& out_;
};

}  // namespace

int RunRestoreCommand(const CommandLine& cl, std::ostream& out, std::ostream& err) {
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  console::ConsoleDialog dialog(err);
  std::optional<Installation> installation = LookUpInstallation(cl, *registry, RealFileSystem(), dialog, err);
  if (!installation) return kStartRefused;

  BackupSet backup;
  try {
    backup = ReadBackup(cl.restoreFolder);
  } catch (const BackupError& e) {
    err << console::ConsoleText(e.what()) << "\n";
    return kStartRefused;
  }
  if (!BackupMatches(backup, *installation)) {
    err << "Резервная копия " << backup.folder << " сделана не для этой установки: её базы данных не совпадают с "
        << "базами данных установки. Восстановление отменено.\n";
    return kStartRefused;
  }
  // No wizard may work on the databases while they are replaced.
  const std::unique_ptr<InstanceLock> lock = TryLockInstance(installation->folders.info + kInstanceLockFile);
  if (!lock) {
    err << "Программа обновления запущена для этой установки. Восстановление отменено.\n";
    return kStartRefused;
  }

  std::unique_ptr<fb::Client> client = LoadClient(dialog);
  FirebirdVersionState version;
  PackProgress progress(nullptr, SystemClock());
  MigrationServices services{*client, *installation, dialog, RealFileSystem(), version, progress};
  RestoreOnConsole observer(out);
  const std::unique_ptr<SessionGuard> session = OpenSessionGuard();
  RestoreReport report;
  try {
    CriticalSection restoring(session.get(), kSessionEndReason);
    report = RestoreBackup(services, backup, observer);
  } catch (const BackupError& e) {
    err << console::ConsoleText(e.what()) << "\n";
    return kUnexpectedError;
  }
  for (const RestoredDatabase& d : report.databases) {
    if (d.restored) out << "Восстановлена: " << d.entry.database << "\n";
    else
      err << console::ConsoleText("НЕ восстановлена, оставлена как была: " + d.entry.database + "\r" + d.reason)
          << "\n";
  }
  if (!report.AllRestored()) {
    err << "Восстановлены не все базы данных из резервной копии " << backup.folder << "\n";
    return kUnexpectedError;
  }
  out << "Базы данных восстановлены из резервной копии " << backup.folder << "\n";
  return kCompleted;
}

}  // namespace kv
