/*
** The program's start.
*/
#include "program_start.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/posix/reg_file_registry.h"
#include "platform/service_status.h"
#include "platform/window_list.h"
#include "startup/environment_check.h"
#include "wizard_assembly.h"

namespace kv {

int RunProgram(const CommandLine& commandLine, ProgramDesktop& d) {
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  std::unique_ptr<WindowList> windows = OpenTopLevelWindows();
  bool creationFailed = false;
  StartServices services{
      d.screen,
      d.splash,
      d.dialog,
      RealFileSystem(),
      d.processes,
      SystemClock(),
      *registry,
      [&](RegisterLog& log) {
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
