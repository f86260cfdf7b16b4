/*
** The program's start.
*/
#include "program_start.h"

#include <chrono>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/registry.h"
#include "platform/service_status.h"
#include "platform/window_list.h"
#include "startup/environment_check.h"
#include "wizard/logged_window.h"
#include "wizard_assembly.h"

namespace kv {
namespace {

constexpr const char* kAlreadyRunning =
    "Программа обновления уже запущена для этой установки.\rДождитесь её окончания и запустите обновление снова.";

/* The run log's opening lines: the program and the installation. */
void WriteRunLogHeader(RunLog& runLog, const std::string& ownPath, const CommandLine& cl, const LocalDateTime& now) {
  runLog.Write(std::string("Программа обновления ") + kApplicationTitle + ": " + ownPath);
  runLog.Write("Начало: " + FormatRunLogTime(now));
  runLog.Write("Установка: " + (cl.installation.numbered ? "№" + std::to_string(cl.installation.number)
                                                          : std::string("основная")) +
               (cl.unattended ? ", без окон" : ", в окнах"));
}

void WriteRunLogPaths(RunLog& runLog, const InstallFolders& f, const DatabaseLocations& loc) {
  runLog.Write("Программа: " + f.program);
  runLog.Write("Данные: " + f.data);
  runLog.Write("Папка версии: " + f.version);
  runLog.Write("Соединение: " + loc.connection.userLine + ", ini: " + loc.connection.iniPath);
  // In the packs' order; the server's Orders is not known yet (the install run finds it).
  for (const std::string& path : KnownPaths(loc.paths, kPackDatabases)) runLog.Write("База данных: " + path);
}

}  // namespace

int RunProgram(const CommandLine& commandLine, ProgramDesktop& d, RunReport& report) {
  const auto started = std::chrono::steady_clock::now();
  Clock& clock = d.clock ? *d.clock : SystemClock();
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  std::unique_ptr<WindowList> windows = OpenTopLevelWindows();
  bool creationFailed = false;
  std::unique_ptr<InstanceLock> lock;  // held until the wizard has closed
  std::unique_ptr<RunLog> runLog;      // from the environment checks on
  LoggedDialog dialog(d.dialog);
  StartServices services{
      d.screen,
      d.splash,
      dialog,
      RealFileSystem(),
      d.processes,
      clock,
      *registry,
      [&](RegisterLog& log) {
        // One wizard per installation; the launcher that only relaunches from the
        // version folder never gets here, so its copy takes the lock.
        lock = TryLockInstance(log.Settings().infoFolder + kInstanceLockFile);
        if (!lock) {
          d.dialog.ShowMessage(kAlreadyRunning);
          return false;
        }
        runLog = std::make_unique<RunLog>(RealFileSystem(), clock, log.Settings().infoFolder);
        report.RunLogWritten(runLog->Path());
        dialog.SetLog(runLog.get());
        WriteRunLogHeader(*runLog, log.Settings().ownPath, commandLine, clock.Now());
        EnvironmentServices e{SystemServices(), *windows, dialog, clock, log};
        const bool passed = CheckEnvironment(e);
        runLog->Write(passed ? "Проверка окружения: пройдена" : "Проверка окружения: НЕ пройдена");
        return passed;
      },
      [&](const InstallFolders& folders, const InstallationParams& params, RegisterLog& log) {
        std::optional<DatabaseLocations> loc = SetDatabasePaths(folders, params, log);
        if (runLog) {
          if (loc)
            WriteRunLogPaths(*runLog, folders, *loc);
          else
            runLog->Write("Расположение баз данных не определено");
        }
        report.Located(folders, loc ? KnownPaths(loc->paths, kPackDatabases) : std::vector<std::string>{});
        return loc;
      },
      [&](Installation& installation, RegisterLog& log) -> std::unique_ptr<MainWindow> {
        try {
          return d.createWizard(installation, log, *registry, *runLog);
        } catch (const std::exception& e) {
          creationFailed = true;
          runLog->Write(std::string("Ошибка при создании мастера: ") + e.what());
          throw;
        }
      },
  };
  const StartResult result = RunMainSequence(commandLine, services);
  if (result.outcome == StartOutcome::Relaunched) report.HandedOver();
  const int status =
      StartExitStatus(result, creationFailed, result.outcome == StartOutcome::Relaunched ? d.relaunchedStatus() : 0);
  if (runLog) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
    runLog->Write("Конец: " + FormatRunLogTime(clock.Now()) + ", длительность " + std::to_string(seconds) +
                  " с");
    runLog->Write("Статус завершения: " + std::to_string(status));
    dialog.SetLog(nullptr);
    if (d.runLogWritten) d.runLogWritten(*runLog);
  }
  return status;
}

}  // namespace kv
