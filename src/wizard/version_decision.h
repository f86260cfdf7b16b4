/*
** Whether the wizard may install what it carries over what is installed: an
** upgrade, a reinstall, a return to an older build, or nothing (blocked), and
** the start-page lines that tell the operator which.
*/
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/own_executable.h"

namespace kv {

/* The version recorded for the installation in the per-user settings. */
struct InstalledVersion {
  std::int32_t servicePack = 0;
  std::int32_t build = 0;
};

enum class VersionVerdict {
  Blocked,        // a newer build is installed, or the wizard is older than 7
  NewBuild,       // the carried build is newer
  Reinstall,      // the carried build is installed
  ReturnToOlder,  // a newer build of the same ServicePack is installed
  Other,          // nothing to say (only with a carried major above 7)
};

struct VersionDecision {
  VersionVerdict verdict = VersionVerdict::Blocked;
  std::vector<std::string> lines;  // for Memo1, in order
  bool Offered() const { return verdict != VersionVerdict::Blocked; }
};

/* Decides by the first rule that holds, carried against installed. */
VersionDecision DecideVersion(const FileVersion& carried, const InstalledVersion& installed);

}  // namespace kv
