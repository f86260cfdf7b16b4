/*
** What an install run would do, found without doing any of it: whether the
** upgrade is offered, the run plan of the databases, the program files that
** would be replaced, and the registry values that would be written.
*/
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "migration/run_plan.h"
#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "platform/registry.h"
#include "wizard/version_decision.h"

namespace kv {

struct ProgramFilePlan {
  std::string path;
  bool carried = false;   // the wizard carries its package
  bool exists = false;
  bool replaced = false;  // a run would write it
  bool inUse = false;     // a running process uses it now
};

struct InstallPlan {
  FileVersion carried;
  InstalledVersion installed;
  VersionDecision decision;
  RunPlan run;
  bool numbered = false;                   // databases only: no files, no registry
  std::vector<std::string> deleted;        // removed before the packages are written
  std::vector<ProgramFilePlan> files;      // in the order the run writes them
  std::vector<std::pair<std::string, std::int32_t>> registry;  // per-user values
};

struct InstallPlanServices {
  MigrationServices& migration;  // its file system must refuse writes
  Registry& registry;
  OwnExecutable& executable;
  std::string ownPath;
  /* Whether a process uses a file now. */
  bool (*inUse)(const std::string& path);
  /* Databases known to be refused, with the reason (see PlanRun). */
  const std::map<std::string, std::string>& refused;
};

InstallPlan PlanInstall(InstallPlanServices& s);

}  // namespace kv
