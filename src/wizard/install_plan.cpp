/*
** The plan of an install run.
*/
#include "wizard/install_plan.h"

#include "platform/paths.h"
#include "startup/install_registry.h"
#include "wizard/program_files.h"

namespace kv {

InstallPlan PlanInstall(InstallPlanServices& s) {
  InstallPlan plan;
  const Installation& installation = s.migration.installation;
  plan.carried = s.executable.ReadOwnFileVersion(s.ownPath);
  plan.installed.servicePack = ReadUserSetting(s.registry, "", "ServicePack");
  plan.installed.build = ReadUserSetting(s.registry, "", "Build");
  plan.decision = DecideVersion(plan.carried, plan.installed);
  plan.run = PlanRun(s.migration, s.refused);
  plan.numbered = installation.params.numbered;
  if (plan.numbered) return plan;

  FileSystem& fs = s.migration.fs;
  const std::string folder = WithTrailingSep(installation.folders.program);
  for (std::string_view name : kDeletionOrder) plan.deleted.push_back(folder + std::string(name));
  for (int index : kWriteOrder) {
    const ProgramPackage& p = ProgramPackages()[static_cast<std::size_t>(index - 1)];
    ProgramFilePlan f;
    f.path = folder + std::string(p.fileName);
    f.carried = s.executable.OpenResource(std::string(p.type), std::string(p.name)) != nullptr;
    f.exists = fs.FileExists(f.path);
    f.replaced = f.carried && (p.overwrite || !f.exists);
    f.inUse = f.exists && s.inUse(f.path);
    plan.files.push_back(std::move(f));
  }
  plan.registry = {{"ServicePack", plan.carried.servicePack}, {"Build", plan.carried.build}};
  return plan;
}

}  // namespace kv
