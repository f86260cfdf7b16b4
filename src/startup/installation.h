/*
** Everything the program knows about the installation it works on. Computed
** once at start; afterwards only the server Orders path is filled in, by the
** install run. The application object owns the one instance.
*/
#pragma once

#include "startup/database_paths.h"
#include "startup/install_registry.h"

namespace kv {

struct Installation {
  InstallFolders folders;
  InstallationParams params;
  DatabasePaths databases;
  ConnectionSettings connection;
};

}  // namespace kv
