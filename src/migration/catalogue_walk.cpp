/*
** The walk over the run order.
*/
#include "migration/catalogue_walk.h"

#include <algorithm>
#include <limits>

#include "migration/connection_pool.h"
#include "migration/runner.h"

namespace kv {

WalkResult WalkSteps(const std::function<std::int32_t()>& readLevel,
                     const std::function<bool(const packs::RunPack&)>& runPack, RunObserver& observer) {
  WalkResult result;
  result.workingLevel = readLevel();
  for (const packs::RunStep& step : packs::RunOrder()) {
    if (result.workingLevel != step.gate) {
      observer.StepSkipped(step);
      continue;
    }
    if (step.removeTemporaryOrders) observer.RemoveTemporaryOrders(step);
    for (const packs::RunPack& run : step.packs) {
      observer.PackStarting(step, run);
      const bool succeeded = runPack(run);
      observer.PackFinished(step, run, succeeded);
      if (!succeeded) {
        result.failed = &run;
        return result;
      }
    }
    if (step.reread) result.workingLevel = readLevel();
  }
  return result;
}

WalkResult WalkRunOrder(MigrationServices& services, RunObserver& observer) {
  ConnectionLending lending(services);
  std::vector<SurveyedDatabase> first = SurveyDatabasesFresh(services);
  if (LowestLevel(first) == std::numeric_limits<std::int32_t>::max()) {
    // Files that are there but refused (a login the server does not accept, a
    // stopped server) are not a missing installation: they are named.
    WalkResult none;
    for (const SurveyedDatabase& d : first)
      if (d.open == OpenResult::Refused &&
          std::find(none.unopenable.begin(), none.unopenable.end(), d.path) == none.unopenable.end())
        none.unopenable.push_back(d.path);
    none.noDatabase = none.unopenable.empty();
    return none;
  }
  bool firstRead = true;
  WalkResult result = WalkSteps(
      [&] {
        if (firstRead) {
          firstRead = false;
          return LowestLevel(first);
        }
        return MinimumLevelFresh(services);
      },
      [&](const packs::RunPack& run) { return RunPackFresh(services, *run.pack); }, observer);
  if (result.failed) return result;
  for (const SurveyedDatabase& d : SurveyDatabasesFresh(services, false))
    if (d.open == OpenResult::Refused) result.unopenable.push_back(d.path);
  return result;
}

}  // namespace kv
