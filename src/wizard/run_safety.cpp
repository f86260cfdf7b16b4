/*
** The backup before a run and the restore after a failed pack.
*/
#include "wizard/run_safety.h"

#include <set>

#include "migration/format_limit.h"
#include "migration/other_connections.h"
#include "migration/run_plan.h"
#include "platform/paths.h"
#include "wizard/install_run.h"

namespace kv {
namespace {

/* What the operator sees of a backup or a restore: a label line per database,
** then what the service is busy with inside it. */
class BackupOnPage final : public BackupObserver {
 public:
  explicit BackupOnPage(WizardWindow& w) : w_(w) {}
  void BackingUp(const std::string& database) override { w_.ZapisLabel(" Резервная копия: " + database); }
  void Restoring(const BackupEntry& e) override { w_.ZapisLabel(" Восстановление: " + e.database); }
  void Progress(BackupPhase phase, const std::string& database, const std::string& activity) override {
    const char* doing = phase == BackupPhase::BackingUp ? " Резервная копия: "
                        : phase == BackupPhase::Verifying ? " Проверка резервной копии: "
                                                          : " Восстановление: ";
    // The file name only: the label is one line, and the table must fit beside it.
    w_.ZapisLabel(doing + FileNameOf(database) + ": " + activity);
  }

 private:
  WizardWindow& w_;
};

/* The first line of a text whose lines are broken by "\r" (a Memo line has one). */
std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\r')); }

/* The databases the run will change, by the plan of the run: each that opens
** and has a pack due. */
std::vector<std::string> DatabasesTheRunChanges(MigrationServices& services) {
  std::vector<std::string> out;
  std::set<std::string> seen;
  for (const DatabasePlan& d : PlanRun(services).databases)
    if (!d.packs.empty() && seen.insert(d.path).second) out.push_back(d.path);
  return out;
}

}  // namespace

bool CheckOtherConnections(InstallRunServices& s) {
  if (s.safety.connections == ConnectionCheck::Skip) return true;
  WizardWindow& w = s.window;
  for (;;) {
    w.ZapisLabel(" Проверка подключений к базам данных");
    const std::vector<OtherConnection> others =
        FindOtherConnections(s.migration, DatabasesToBackUp(s.installation, s.fs));
    if (others.empty()) return true;
    const std::string text = OtherConnectionsMessage(others);
    if (s.runLog) s.runLog->Write(text);
    if (s.safety.connections == ConnectionCheck::Stop) {
      w.ShowMessage(text + "\rОбновление не начато, базы данных не изменены.");
      return false;
    }
    if (!w.AskYesNo(text + "\r\rПроверить снова? (Нет: остановить обновление)")) return false;
  }
}

bool PrepareRun(InstallRunServices& s, std::optional<BackupSet>& backup) {
  WizardWindow& w = s.window;
  w.ZapisLabel(" Проверка форматов таблиц");
  if (const std::optional<FormatExcess> excess = FindFormatExcess(s.migration)) {
    w.ShowMessage(FormatExcessMessage(*excess));
    return false;
  }
  if (!s.safety.backup) {
    if (s.runLog) s.runLog->Write("Резервная копия баз данных не делается (--no-backup)");
    return true;
  }
  const std::vector<std::string> databases = DatabasesTheRunChanges(s.migration);
  if (databases.empty()) return true;
  BackupSettings settings{BackupRoot(s.installation.folders), s.safety.freeBytes};
  BackupOnPage page(w);
  Clock& clock = s.safety.clock ? *s.safety.clock : SystemClock();
  try {
    backup = MakeBackup(s.migration, databases, settings, clock.Now(), page);
  } catch (const BackupError& e) {
    w.ShowMessage(std::string(e.what()) + "\rОбновление не начато, базы данных не изменены.");
    return false;
  }
  w.ZapisMemo3("Резервная копия баз данных: " + backup->folder);
  if (s.migration.observer) s.migration.observer->BackupMade(backup->folder);
  try {
    for (const std::string& old : PruneBackups(settings.root, s.safety.keepBackups, backup->folder))
      if (s.runLog) s.runLog->Write("Удалена старая резервная копия: " + old);
  } catch (const std::exception& e) {
    // Old backups that stay are no reason to stop: the new one is made.
    if (s.runLog) s.runLog->Write("Старые резервные копии не удалены: " + std::string(e.what()));
  }
  return true;
}

void RestoreAfterFailure(InstallRunServices& s, const BackupSet& backup) {
  WizardWindow& w = s.window;
  bool restore = s.safety.restore == RestorePolicy::Always;
  if (s.safety.restore == RestorePolicy::Ask)
    restore = w.AskYesNo("Восстановить все базы данных из резервной копии, сделанной перед обновлением?\r" +
                         backup.folder);
  if (!restore) {
    w.ZapisMemo3("Базы данных можно восстановить из резервной копии: " + backup.folder);
    return;
  }
  BackupOnPage page(w);
  RestoreReport report;
  try {
    CriticalSection restoring(s.session, kSessionEndReason);
    report = RestoreBackup(s.migration, backup, page, s.safety.freeBytes);
  } catch (const BackupError& e) {
    w.ShowMessage(e.what());
    w.ZapisMemo3("Базы данных НЕ восстановлены; резервная копия: " + backup.folder);
    return;
  }
  if (s.migration.observer)
    for (const RestoredDatabase& d : report.databases)
      if (d.restored) s.migration.observer->DatabaseRestored(d.entry.database, d.entry.servicePack);
  if (report.AllRestored()) {
    w.ZapisMemo3("Базы данных восстановлены из резервной копии: " + backup.folder);
    return;
  }
  w.ShowMessage("Не все базы данных восстановлены из резервной копии " + backup.folder +
                "\rОставлены как были:\r" + report.NotRestored());
  for (const RestoredDatabase& d : report.databases)
    w.ZapisMemo3(d.restored ? "Восстановлена: " + d.entry.database
                            : "НЕ восстановлена, оставлена как была: " + d.entry.database + ": " + FirstLine(d.reason));
  w.ZapisMemo3("Базы данных восстановлены не все; резервная копия: " + backup.folder);
}

}  // namespace kv
