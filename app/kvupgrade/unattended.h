/*
** The unattended mode: the wizard's whole logic on a console, with the start
** page shown, the agreement accepted and Install pressed without an operator.
*/
#pragma once

#include <ostream>

#include "startup/command_line.h"
#include "test_switches.h"
#include "wizard/run_report.h"
#include "wizard_assembly.h"

namespace kv::console {

/* Runs the start sequence and, when it reaches the wizard, the install run.
** When the program moves itself into the installation's version folder, the
** copy runs with the same options and its status is returned. Returns an
** ExitStatus. What the run did goes to report; switches are the tests'. */
int RunUnattended(const CommandLine& commandLine, const TestSwitches& switches, RunReport& report, std::ostream& out,
                  std::ostream& err);

}  // namespace kv::console
