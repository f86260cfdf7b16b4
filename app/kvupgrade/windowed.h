/*
** The wizard with its windows: the splash while the start checks run, then
** the wizard window until the operator closes it.
*/
#pragma once

#include "startup/command_line.h"
#include "wizard/run_report.h"

namespace kv {

/* True when a desktop is there to show windows on (an X11 or Wayland display,
** or a Qt platform chosen explicitly). */
bool DisplayAvailable();

/* Runs the start sequence with windows and returns an ExitStatus. When the
** program moves itself into the installation's version folder, the copy is
** started with the same options and this process ends at once. What the run
** did goes to report. */
int RunWithWindows(const CommandLine& commandLine, RunReport& report, int argc, char** argv);

}  // namespace kv
