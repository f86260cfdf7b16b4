/*
** The install run.
*/
#include "wizard/install_run.h"

#include <algorithm>

#include "migration/catalogue_walk.h"
#include "migration/connection_pool.h"
#include "migration/packs/run_order.h"
#include "startup/database_paths.h"
#include "startup/install_registry.h"
#include "wizard/program_files.h"

namespace kv {
namespace {

/* Progress + n, cut to the maximum; a full gauge goes back to 0 after a pause. */
void AdvanceGauge(WizardWindow& w, int n) {
  w.SetGaugeProgress(std::min(w.GaugeProgress() + n, w.GaugeMax()));
  if (w.GaugeProgress() >= w.GaugeMax()) {
    w.SetGaugeProgress(0);
    w.Pause(100);
  }
}

/* What the operator sees of the walk over the run order. */
class InstallPage final : public RunObserver {
 public:
  InstallPage(InstallRunServices& s) : s_(s) {}

  void StepSkipped(const packs::RunStep& step) override {
    s_.window.ZapisLabel(std::string(step.skipLabel));
    AdvanceGauge(s_.window, step.skipWeight);
  }

  void RemoveTemporaryOrders(const packs::RunStep&) override {
    const std::string& path = s_.installation.databases.ordersTmp1;
    s_.window.ZapisLabel(" Удаление файла: " + path);
    if (DeleteIfExists(s_.fs, path)) {
      s_.window.ZapisLabel(" Файл " + path + " успешно удалён");
    } else {
      s_.window.ZapisLabel(" Файл " + path + " НЕ удалён");
      s_.window.Pause(1000);
    }
  }

  void PackStarting(const packs::RunStep&, const packs::RunPack& pack) override {
    s_.window.ZapisLabel(std::string(pack.label));
  }

 private:
  InstallRunServices& s_;
};

InstallOutcome Run(InstallRunServices& s, const FileVersion& carried) {
  WizardWindow& w = s.window;
  w.SetButton1Visible(false);
  w.PumpMessages();
  w.SetGaugeProgress(0);
  w.SetGaugeMax(packs::kGaugeBudget);
  s.log.ReportCode(3);
  w.ZapisMemo3("Установка обновлений...");

  const ConnectionSettings& c = s.installation.connection;
  s.installation.databases.serverOrders = FindOrdersAlias(s.fs, c.iniPath, c.ordersAlias);

  std::optional<BackupSet> backup;
  WalkResult walk;
  {
    // The checks, the backup and the walk attach to each database once. The
    // connections go before a restore replaces the files and before the
    // program files are replaced.
    ConnectionLending lending(s.migration);
    if (!CheckOtherConnections(s)) {
      w.ZapisMemo3("Обновление не установлено");
      return InstallOutcome::OthersConnected;
    }
    if (!PrepareRun(s, backup)) {
      w.ZapisMemo3("Обновление не установлено");
      return InstallOutcome::NotStarted;
    }
    InstallPage page(s);
    CriticalSection packs(s.session, kSessionEndReason);
    walk = WalkRunOrder(s.migration, page);
  }
  if (walk.noDatabase) {
    // Nothing was upgraded: the program files and the registry stay as they are.
    w.ShowMessage(std::string(kNoDatabaseMessage) + "\rПапка данных: " + s.installation.folders.data);
    w.ZapisMemo3("Обновление не установлено");
    return InstallOutcome::NoDatabase;
  }
  if (walk.failed) {
    w.ShowMessage(std::string(walk.failed->failure));
    if (backup) RestoreAfterFailure(s, *backup);
    return InstallOutcome::PackFailed;
  }
  if (!walk.unopenable.empty()) {
    std::string text = kUnopenableMessage;
    for (const std::string& path : walk.unopenable) text += "\r" + path;
    w.ShowMessage(text);
    w.ZapisMemo3("Обновление не установлено");
    if (backup) RestoreAfterFailure(s, *backup);
    return InstallOutcome::PackFailed;
  }
  const std::string level = std::to_string(walk.workingLevel);

  w.ZapisLabel("");
  if (s.installation.params.numbered) {
    // The six program-file steps are not carried out for a numbered installation.
    w.SetGaugeProgress(std::min(w.GaugeProgress() + 6, w.GaugeMax()));
    const std::string max = std::to_string(w.GaugeMax()), progress = std::to_string(w.GaugeProgress());
    w.ShowMessage(w.GaugeMax() == w.GaugeProgress()
                      ? std::string("Всё ОК")
                      : "Всё ОК\r\rGauge1.MaxValue: " + max + "\r" + "Gauge1.Progress: " + progress);
    w.Pause(100);
    w.CloseWindow();
    return InstallOutcome::NumberedFinished;
  }

  // The program files and the version recorded for them change together or not at all.
  CriticalSection filesAndRegistry(s.session, kSessionEndReason);
  ProgramFileSteps files(w, s.log, s.fs, s.executable, s.installation.folders.program);
  const bool fileFailure = files.Run(walk.workingLevel);

  w.ZapisMemo3(std::to_string(w.GaugeMax()) + "-" + std::to_string(w.GaugeProgress()));
  w.ZapisMemo3("");
  InstallOutcome outcome = InstallOutcome::Completed;
  if (fileFailure) {
    w.ShowMessage("Error " + level + "_107");
    for (const char* line : {"Обновление не установлено", "", "Перезагрузите компьютер",
                             "Попробуйте еще раз установить обновления"})
      w.ZapisMemo3(line);
    s.log.ReportCode(5);
    outcome = InstallOutcome::FilesNotReplaced;
  } else {
    w.ZapisLabel("Регистрация");
    WriteUserSetting(s.registry, "", "ServicePack", carried.servicePack);
    WriteUserSetting(s.registry, "", "Build", carried.build);
    if (s.runLog)
      s.runLog->Write("Реестр: ServicePack = " + std::to_string(carried.servicePack) +
                      ", Build = " + std::to_string(carried.build));
    w.ZapisMemo3("");
    w.ZapisMemo3("Обновление версии 7.00 успешно завершено");
    w.ZapisMemo3("");
    w.ZapisMemo3("Установлена следующая конфигурация: ServicePack: " + std::to_string(carried.servicePack) +
                 ", Build: " + std::to_string(carried.build));
  }
  s.log.ReportCode(4);
  return outcome;
}

}  // namespace

InstallOutcome RunInstall(InstallRunServices& s, const FileVersion& carried) {
  WizardWindow& w = s.window;
  w.SetBusyCursor(true);
  InstallOutcome outcome;
  try {
    outcome = Run(s, carried);
  } catch (const std::exception& e) {
    outcome = InstallOutcome::UnexpectedError;
    if (s.migration.observer) s.migration.observer->StatementFailed("", "install run", e.what());
    try {
      s.log.ReportCode(98);
    } catch (const std::exception&) {
      // The log itself is what failed; the run still ends cleanly below.
    }
  }
  if (outcome != InstallOutcome::Completed && outcome != InstallOutcome::NumberedFinished && s.runLog)
    w.ZapisMemo3("Подробный журнал: " + s.runLog->Path());
  w.ZapisLabel("");
  w.SetGaugeProgress(0);
  w.SetBusyCursor(false);
  return outcome;
}

}  // namespace kv
