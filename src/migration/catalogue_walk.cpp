/*
** The walk over the run order.
*/
#include "migration/catalogue_walk.h"

#include "migration/runner.h"

namespace kv {

WalkResult WalkRunOrder(MigrationServices& services, RunObserver& observer) {
  WalkResult result;
  result.workingLevel = MinimumLevelFresh(services);
  for (const packs::RunStep& step : packs::RunOrder()) {
    if (result.workingLevel != step.gate) {
      observer.StepSkipped(step);
      continue;
    }
    if (step.removeTemporaryOrders) observer.RemoveTemporaryOrders(step);
    for (const packs::RunPack& run : step.packs) {
      observer.PackStarting(step, run);
      const bool succeeded = RunPackFresh(services, *run.pack);
      observer.PackFinished(step, run, succeeded);
      if (!succeeded) {
        result.failed = &run;
        return result;
      }
    }
    if (step.reread) result.workingLevel = MinimumLevelFresh(services);
  }
  return result;
}

}  // namespace kv
