/*
** The installation the options select, found as the start finds it (the
** registry, the folders, the ini file and the aliases file), for the commands
** that work on an installation without the wizard: --plan and --restore.
*/
#pragma once

#include <optional>
#include <ostream>

#include "platform/dialog.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "startup/command_line.h"
#include "startup/installation.h"

namespace kv {

/* nullopt after saying why on err. The register log is written through fs. */
std::optional<Installation> LookUpInstallation(const CommandLine& commandLine, Registry& registry, FileSystem& fs,
                                               OperatorDialog& dialog, std::ostream& err);

}  // namespace kv
