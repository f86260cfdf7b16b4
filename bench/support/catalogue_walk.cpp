/*
** The timed walk over the pack table.
*/
#include "support/catalogue_walk.h"

#include <algorithm>

#include "migration/catalogue_walk.h"
#include "platform/file_system.h"

namespace kv::bench {
namespace {

/* Times each pack of the walk; the working-level reads are what lies between. */
class TimingObserver final : public RunObserver {
 public:
  TimingObserver(MigrationServices& services, Gauge& gauge, Clock& pause, WalkResult& result)
      : services_(services), gauge_(gauge), pause_(pause), result_(result) {}

  void StepSkipped(const packs::RunStep& step) override {
    gauge_.SetPosition(std::min(gauge_.Position() + step.skipWeight, gauge_.Maximum()));
    if (gauge_.Position() >= gauge_.Maximum()) {
      gauge_.SetPosition(0);
      pause_.SleepMs(100);
    }
  }
  void RemoveTemporaryOrders(const packs::RunStep&) override {
    if (!DeleteIfExists(services_.fs, services_.installation.databases.ordersTmp1)) pause_.SleepMs(1000);
  }
  void PackStarting(const packs::RunStep&, const packs::RunPack&) override {
    before_ = services_.client.stats();
    start_ = Steady::now();
  }
  void PackFinished(const packs::RunStep&, const packs::RunPack& run, bool succeeded) override {
    result_.units.push_back({std::string(run.pack->name), Steady::now() - start_, services_.client.stats() - before_});
    if (!succeeded) result_.failure = std::string(run.failure);
  }

 private:
  MigrationServices& services_;
  Gauge& gauge_;
  Clock& pause_;
  WalkResult& result_;
  fb::ClientStats before_;
  Steady::time_point start_;
};

}  // namespace

WalkResult WalkCatalogue(MigrationServices& services, Gauge& gauge, Clock& pause) {
  WalkResult result;
  const fb::ClientStats before = services.client.stats();
  const auto start = Steady::now();
  gauge.SetPosition(0);
  TimingObserver observer(services, gauge, pause, result);
  WalkRunOrder(services, observer);
  result.wall = Steady::now() - start;
  result.calls = services.client.stats() - before;

  // Everything outside the packs: the working level read before and between them.
  TimedUnit reads{"level reads", result.wall, result.calls};
  for (const TimedUnit& u : result.units) {
    reads.wall -= u.wall;
    reads.calls = reads.calls - u.calls;
  }
  result.units.insert(result.units.begin(), reads);
  return result;
}

}  // namespace kv::bench
