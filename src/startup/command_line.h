/*
** The options the program is started with. They select the installation and
** the way the program talks to the operator; the relaunch from the version
** folder passes on those that select the installation and shape the run.
*/
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
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
  std::string resultFile;           // --result-file PATH: the run's outcome as JSON when it ends
  bool help = false;                // --help: print the options and exit statuses, change nothing
  bool version = false;             // --version: print the program's version, change nothing
};

/* One option as --help lists it: its name, the placeholder of its value ("" for
** a switch) and what it does, in one line. */
struct OptionHelp {
  std::string_view name, value, meaning;
};

/* Every option ParseCommandLine accepts, in the order --help lists them. */
std::span<const OptionHelp> OptionsHelp();

/* Parses the arguments after the program name. Returns nullopt and sets error
** (for the operator, in Russian) for an unknown option or a bad value. */
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

/* The value of the last --result-file in args, "" when there is none: where
** to report a command line that ParseCommandLine refused. */
std::string ResultFileArgument(const std::vector<std::string>& args);

/* The arguments a relaunched copy gets: those that select the installation
** and those that shape the run. */
std::vector<std::string> InstallationArguments(const CommandLine& cl);

}  // namespace kv
