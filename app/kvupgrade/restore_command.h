/*
** kvupgrade --restore FOLDER: puts every database of a backup that the wizard
** made before a run back in place, later and on purpose. Refuses (status 2)
** when the folder holds no readable manifest, when the manifest names a
** database the installation does not have, or when a wizard runs for the
** installation; exits 1 when another program has one of the databases open
** (nothing is restored then) or a restore fails, 0 when all are restored.
*/
#pragma once

#include <ostream>

#include "startup/command_line.h"

namespace kv {

int RunRestoreCommand(const CommandLine& commandLine, std::ostream& out, std::ostream& err);

}  // namespace kv
