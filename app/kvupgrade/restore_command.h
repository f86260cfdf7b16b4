/*
** kvupgrade --restore FOLDER: puts every database of a backup that the wizard
** made before a run back in place, later and on purpose. Refuses (status 2)
** when the folder holds no readable manifest, when the manifest names a
** database the installation does not have, or when a wizard runs for the
** installation; exits 1 when another program has one of the databases open
** (nothing is restored then) or a database could not be restored (it is left
** as it was, named on stderr with the reason, and the others are restored),
** 0 when all are restored. The end of the session waits for the restore.
*/
#pragma once

#include <ostream>

#include "startup/command_line.h"

namespace kv {

int RunRestoreCommand(const CommandLine& commandLine, std::ostream& out, std::ostream& err);

}  // namespace kv
