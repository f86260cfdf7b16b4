/*
** The main sequence.
*/
#include "startup/start_sequence.h"

#include <exception>

#include "startup/run_location.h"
#include "startup/start_conditions.h"

namespace kv {
namespace {

constexpr int kSplashSteps = 3;
constexpr int kFailurePauseMs = 2000;

}  // namespace

StartResult RunMainSequence(const CommandLine& commandLine, StartServices& s) {
  Splash splash(s.splash, s.clock);
  std::optional<StartConditions> start;
  try {
    StartConditionServices cs{s.screen, s.dialog, s.clock, s.registry, s.fs};
    start = CheckStartConditions(kInstallTypeLetter, cs);
    if (!start) return {StartOutcome::Refused};

    RunLocationServices ls{s.fs, s.processes, s.dialog, splash};
    switch (PrepareRunLocation(kSplashSteps, start->folders, InstallationArguments(commandLine), ls)) {
      case RunLocation::Accepted: break;
      case RunLocation::Relaunched: return {StartOutcome::Relaunched};
      case RunLocation::Refused: return {StartOutcome::NotRelaunched};
    }
  } catch (const std::exception& e) {
    // Nothing is on screen yet that could explain the end of the program.
    s.dialog.ShowMessage(e.what());
    return {StartOutcome::Failed};
  }

  RegisterLog log({kApplicationTitle, s.processes.OwnPath(), start->folders.info, start->folders.registerLog},
                  s.fs, s.clock, s.dialog);
  Installation installation;
  installation.folders = start->folders;
  installation.params = commandLine.installation;
  std::unique_ptr<MainWindow> wizard;
  try {
    splash.SplashStep();
    splash.SplashStatus("проверка программ");
    if (s.checkEnvironment(log)) {
      splash.SplashStep();
      splash.SplashStatus("проверка установок");
      if (std::optional<DatabaseLocations> loc = s.setDatabasePaths(installation.folders, installation.params, log)) {
        installation.databases = std::move(loc->paths);
        installation.connection = std::move(loc->connection);
        splash.SplashStep();
        splash.SplashStatus("загрузка ...");
        wizard = s.createWizard(installation, log);
      }
    }
  } catch (const std::exception&) {
    wizard.reset();
  }
  if (!wizard) {
    // The last status stays readable for a moment; the failing check has
    // already shown its own message.
    s.clock.SleepMs(kFailurePauseMs);
    splash.SplashClose();
    return {StartOutcome::ChecksFailed};
  }
  splash.SplashClose();
  return {StartOutcome::Closed, wizard->RunMessageLoop()};
}

}  // namespace kv
