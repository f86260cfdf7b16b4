/*
** The walk over the run order.
*/
#include "migration/catalogue_walk.h"

#include "migration/database_holders.h"
#include "migration/runner.h"

namespace kv {

namespace {

/* Holds the databases open for the length of one walk, released on every way out. */
class HoldingDuringWalk {
 public:
  explicit HoldingDuringWalk(MigrationServices& services)
      : services_(services),
        holders_(services.client,
                 {services.installation.connection.userLine, services.installation.connection.passwordLine},
                 kConnectionCharset,
                 {services.installation.databases.ordersTmp1, services.installation.databases.ordersTmp2,
                  services.installation.databases.ordersTmp3}),
        previous_(services.holders) {
    services_.holders = &holders_;
  }
  ~HoldingDuringWalk() {
    services_.holders = previous_;
    holders_.ReleaseAll();
  }
  HoldingDuringWalk(const HoldingDuringWalk&) = delete;
  HoldingDuringWalk& operator=(const HoldingDuringWalk&) = delete;

 private:
  MigrationServices& services_;
  DatabaseHolders holders_;
  DatabaseHolders* previous_;
};

}  // namespace

WalkResult WalkRunOrder(MigrationServices& services, RunObserver& observer) {
  HoldingDuringWalk holding(services);
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
