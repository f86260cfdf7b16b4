/*
** kvupgrade --plan: what a run would do to the selected installation, printed
** without changing anything (no register log line, no registry value, no
** file). Exits 0 when a run could proceed; otherwise kVersionBlocked,
** kNoDatabase or kPlanBlocked of wizard_assembly.h, or kStartRefused when the
** installation cannot be found.
*/
#pragma once

#include <ostream>

#include "startup/command_line.h"

namespace kv {

int RunPlanCommand(const CommandLine& commandLine, std::ostream& out, std::ostream& err);

}  // namespace kv
