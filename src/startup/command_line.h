/*
** The options the program is started with. They select the installation and
** the way the program talks to the operator; the relaunch from the version
** folder passes on those that select the installation.
*/
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "startup/database_paths.h"

namespace kv {

struct CommandLine {
  InstallationParams installation;  // --installation N sets N and marks it numbered
  bool unattended = false;          // --unattended: console instead of windows
  bool showInstallation = false;    // --show-installation: print what was derived, change nothing
  bool plan = false;                // --plan: print what a run would do, change nothing
  bool backup = true;               // --no-backup clears it: no backup of the databases before the packs
  int keepBackups = 3;              // --keep-backups N: backup folders kept, the newest first
  bool restoreOnFailure = false;    // --restore-on-failure: restore the backup without asking when a pack fails
  std::string restoreFolder;        // --restore FOLDER: restore that backup and end
};

/* Parses the arguments after the program name. Returns nullopt and sets error
** for an unknown option or a bad installation number. */
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

/* The arguments a relaunched copy gets: those that select the installation
** and those that shape the run. */
std::vector<std::string> InstallationArguments(const CommandLine& cl);

}  // namespace kv
