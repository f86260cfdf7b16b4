/*
** The program's entry: the start checks in their fixed order, the move into
** the version folder, the splash while the remaining checks run, and finally
** the wizard window with its message loop.
*/
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/screen.h"
#include "startup/command_line.h"
#include "startup/database_paths.h"
#include "startup/installation.h"
#include "startup/register_log.h"
#include "startup/splash.h"

namespace kv {

/* The wizard window as the start sequence sees it: created as the program's
** main window once every check has passed. */
class MainWindow {
 public:
  virtual ~MainWindow() = default;
  /* Runs the message loop until the window closes; returns the program's exit status. */
  virtual int RunMessageLoop() = 0;
};

/* Creates the wizard window for the installation (the start sequence keeps
** both alive until the message loop ends). May throw; the start then fails. */
using MainWindowFactory = std::function<std::unique_ptr<MainWindow>(Installation&, RegisterLog&)>;

/* The environment checks, given the register log. */
using EnvironmentCheck = std::function<bool(RegisterLog&)>;

/* The database locations, given the folders and the installation parameters. */
using DatabasePathsStep =
    std::function<std::optional<DatabaseLocations>(const InstallFolders&, const InstallationParams&, RegisterLog&)>;

struct StartServices {
  Screen& screen;
  SplashOperations& splash;
  OperatorDialog& dialog;
  FileSystem& fs;
  ProcessControl& processes;
  Clock& clock;
  Registry& registry;
  EnvironmentCheck checkEnvironment;
  DatabasePathsStep setDatabasePaths = SetDatabasePaths;
  MainWindowFactory createWizard;
};

enum class StartOutcome {
  Refused,        // a start condition failed; its message was shown
  Relaunched,     // the copy in the version folder was started
  NotRelaunched,  // the copy could not be made or started; the reason was shown
  ChecksFailed,   // a check under the splash failed or raised an error
  Failed,         // an error before the splash; its text was shown
  Closed,         // the wizard ran and was closed
};

struct StartResult {
  StartOutcome outcome = StartOutcome::Failed;
  int exitStatus = 0;  // of the message loop, for Closed
};

/* Runs the start sequence for the options of commandLine: the start
** conditions, the run location (the relaunched copy gets the options that
** select the installation), then under the splash the environment checks, the
** database locations and the wizard's creation, each after a splash step and
** status. A failed or erring step keeps the splash 2 s longer and ends the
** start; otherwise the splash closes and the wizard's message loop runs.
** An error before the splash is shown in a message box (Failed); errors of
** the message loop go to the caller. */
StartResult RunMainSequence(const CommandLine& commandLine, StartServices& s);

}  // namespace kv
