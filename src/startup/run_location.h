/*
** Where the program runs from. It must run from the installation's version
** folder (or the base folder's _Kven712 folder); started anywhere else it
** copies itself into the version folder, starts the copy and ends.
*/
#pragma once

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "startup/install_registry.h"
#include "startup/splash.h"

namespace kv {

enum class RunLocation {
  Accepted,    // runs in place; the splash is shown
  Relaunched,  // the copy in the version folder was started; this process ends
  Refused,     // the copy could not be made or started; its message was shown
};

struct RunLocationServices {
  FileSystem& fs;
  ProcessControl& processes;
  OperatorDialog& dialog;
  Splash& splash;
};

/* True when runFolder (ending in the separator) is a folder the program may
** run from: it contains the version folder, letter case aside by the ANSI
** rules, or it is the base folder's "_Kven712" folder in exact letter case. */
bool IsAcceptedRunFolder(const std::string& runFolder, const InstallFolders& folders);

/* Creates the Info folder when missing. From an accepted folder opens the
** splash with a gauge of steps and returns Accepted. Otherwise replaces the
** copy in the version folder (clearing its attributes first), starts it with
** relaunchArguments and returns Relaunched; when the old copy cannot be
** removed, or the copy cannot be made or started, shows why and returns Refused. */
RunLocation PrepareRunLocation(int steps, const InstallFolders& folders,
                               const std::vector<std::string>& relaunchArguments, RunLocationServices& s);

}  // namespace kv
