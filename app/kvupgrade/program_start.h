/*
** The program's start, shared by the console and the windows: the start
** sequence over the real registry, file system, clock and environment checks,
** with the desktop and the wizard's window that the caller brings.
*/
#pragma once

#include <functional>
#include <memory>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/screen.h"
#include "startup/command_line.h"
#include "startup/run_log.h"
#include "startup/splash.h"
#include "startup/start_sequence.h"
#include "wizard/run_report.h"

namespace kv {

/* Creates the wizard window for the installation; its start page is built here. */
using WizardFactory = std::function<std::unique_ptr<MainWindow>(Installation&, RegisterLog&, Registry&, RunLog&)>;

/* The lock file in the Info folder that one wizard per installation holds. */
inline constexpr const char* kInstanceLockFile = "kvupgrade.lock";

struct ProgramDesktop {
  Screen& screen;
  SplashOperations& splash;
  OperatorDialog& dialog;
  ProcessControl& processes;
  WizardFactory createWizard;
  /* The status to end with when the copy in the version folder took over. */
  std::function<int()> relaunchedStatus;
  /* Told of the run log when the program ends, if one was written. */
  std::function<void(const RunLog&)> runLogWritten = nullptr;
  /* The clock of the start sequence's pauses and times; the system's when null. */
  Clock* clock = nullptr;
};

/* Runs the start sequence and the wizard; returns an ExitStatus. An error
** while the wizard is created ends with kUnexpectedError, a refusing check
** with kStartRefused. The process that runs the wizard (not a launcher that
** only relaunches from the version folder) writes the detailed run log from
** the environment checks to its exit status. report learns the installation's
** folders and databases, the run log, and whether the copy took over; the
** wizard the desktop creates must add it to its migration listeners. */
int RunProgram(const CommandLine& commandLine, ProgramDesktop& desktop, RunReport& report);

}  // namespace kv
