/*
** The start sequence with windows, over the wizard of either toolkit: the
** toolkit's screen, splash and message boxes come in, the rest is the same.
*/
#pragma once

#include <memory>

#include "program_start.h"
#include "wizard_assembly.h"

namespace kv {

/* Runs the start sequence and the Wizard (a ViewWizard) and returns an ExitStatus. */
template <class Wizard>
int RunWindowedProgram(const CommandLine& commandLine, RunReport& report, Screen& screen, SplashOperations& splash,
                       OperatorDialog& dialog) {
  std::unique_ptr<fb::Client> client;  // outlives the wizard
  ProgramDesktop desktop{screen, splash, dialog, RealProcesses(),
                         WindowedWizardFactory<Wizard>(commandLine, dialog, client, report),
                         [] { return static_cast<int>(kCompleted); }};
  return RunProgram(commandLine, desktop, report);
}

}  // namespace kv
