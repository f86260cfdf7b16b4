/*
** The plan of a run, made without changing anything: what a run would find
** in each database and which packs it would apply where. The plan walks the
** run order with the same gate logic as the run (WalkSteps); only the packs
** are simulated: a pack "applies" to each database of its list that stands at
** its required level, and raises that database to its new level.
*/
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "migration/context.h"
#include "migration/packs/run_order.h"

namespace kv {

struct DatabasePlan {
  packs::Db db;
  std::string path;
  OpenResult open = OpenResult::Absent;
  std::string refusal;  // the engine's reason, when refused
  std::int32_t level = -1;  // as the level query reads it, when opened
  std::optional<std::int32_t> version, servicePack, build;  // the version record's fields that could be read
  std::vector<std::string> packs;  // the packs a run would apply to it, in order
};

struct StepPlan {
  const packs::RunStep* step;
  bool runs = false;
};

struct RunPlan {
  std::vector<DatabasePlan> databases;  // in the packs' order
  std::int32_t workingLevel = 0;        // at the start of the run
  bool noDatabase = false;              // no database opens: a run would stop at once
  std::vector<StepPlan> steps;          // steps 1 to 19
  std::string blockedBy;                // the first pack that would fail, when one would
  /* True when a run could bring every database through: some database
  ** opens and none of the installation's files is refused. */
  bool CanProceed() const;
};

/* Surveys the databases through services (whose file system should refuse
** writes) and walks the run order over the survey. refused: databases known
** beforehand to be refused, with the reason, by their path in services. */
RunPlan PlanRun(MigrationServices& services, const std::map<std::string, std::string>& refused = {});

}  // namespace kv
