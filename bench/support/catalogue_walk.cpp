/*
** The timed walk over the pack table.
*/
#include "support/catalogue_walk.h"

#include <algorithm>

#include "migration/packs/run_order.h"
#include "migration/runner.h"
#include "platform/file_system.h"

namespace kv::bench {
namespace {

/* Runs work, adds its time and client calls to the result under name. */
template <class Work>
auto Timed(WalkResult& result, const fb::Client& client, std::string name, Work work) {
  const fb::ClientStats before = client.stats();
  const auto start = Steady::now();
  auto value = work();
  result.units.push_back({std::move(name), Steady::now() - start, client.stats() - before});
  return value;
}

}  // namespace

WalkResult WalkCatalogue(MigrationServices& services, Gauge& gauge, Clock& pause) {
  WalkResult result;
  const fb::ClientStats before = services.client.stats();
  const auto start = Steady::now();

  gauge.SetPosition(0);
  auto readLevel = [&] { return MinimumLevelFresh(services); };
  std::int32_t level = Timed(result, services.client, "level read", readLevel);
  for (const packs::RunStep& step : packs::RunOrder()) {
    if (step.gate != level) {
      gauge.SetPosition(std::min(gauge.Position() + step.skipWeight, gauge.Maximum()));
      if (gauge.Position() >= gauge.Maximum()) {
        gauge.SetPosition(0);
        pause.SleepMs(100);
      }
      continue;
    }
    if (step.removeTemporaryOrders && !DeleteIfExists(services.fs, services.installation.databases.ordersTmp1))
      pause.SleepMs(1000);
    for (const packs::RunPack& run : step.packs) {
      const bool ok = Timed(result, services.client, std::string(run.pack->name),
                            [&] { return RunPackFresh(services, *run.pack); });
      if (!ok) {
        result.failure = std::string(run.failure);
        break;
      }
    }
    if (!result.failure.empty()) break;
    if (step.reread) level = Timed(result, services.client, "level read", readLevel);
  }
  result.wall = Steady::now() - start;
  result.calls = services.client.stats() - before;
  return result;
}

}  // namespace kv::bench
