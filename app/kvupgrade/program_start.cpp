/*
** The program's start.
*/
#include "program_start.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/posix/reg_file_registry.h"
#include "platform/service_status.h"
#include "platform/window_list.h"
#include "startup/environment_check.h"
#include "wizard_assembly.h"

namespace kv {
namespace {

constexpr const char* kInstanceLockFile = "kvupgrade.lock";
constexpr const char* kAlreadyRunning =
    "Программа обновления уже запущена для этой установки.\rДождитесь её окончания и запустите обновление снова.";

}  // namespace

int RunProgram(const CommandLine& commandLine, ProgramDesktop& d) {
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  std::unique_ptr<WindowList> windows = OpenTopLevelWindows();
  bool creationFailed = false;
  std::unique_ptr<InstanceLock> lock;  // held until the wizard has closed
  StartServices services{
      d.screen,
      d.splash,
      d.dialog,
      RealFileSystem(),
      d.processes,
      SystemClock(),
      *registry,
      [&](RegisterLog& log) {
        // One wizard per installation; the launcher that only relaunches from the
        // version folder never gets here, so its copy takes the lock.
        lock = TryLockInstance(log.Settings().infoFolder + kInstanceLockFile);
        if (!lock) {
          d.dialog.ShowMessage(kAlreadyRunning);
          return false;
        }
        EnvironmentServices e{SystemServices(), *windows, d.dialog, SystemClock(), log};
        return CheckEnvironment(e);
      },
      SetDatabasePaths,
      [&](Installation& installation, RegisterLog& log) -> std::unique_ptr<MainWindow> {
        try {
          return d.createWizard(installation, log, *registry);
        } catch (...) {
          creationFailed = true;
          throw;
        }
      },
  };
  const StartResult result = RunMainSequence(commandLine, services);
  return StartExitStatus(result, creationFailed, result.outcome == StartOutcome::Relaunched ? d.relaunchedStatus() : 0);
}

}  // namespace kv
