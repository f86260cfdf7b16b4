// The catalogue and its run order agree with themselves: counts, gates and the gauge budget.
#include <gtest/gtest.h>

#include <set>

#include "migration/packs/catalogue.h"
#include "migration/packs/run_order.h"
#include "migration/runner.h"

namespace kv::packs {
namespace {

// A pack's Db is an index into the packs' list of databases: each must name its own.
TEST(Catalogue, EachDatabaseOfAPackIsTheInstallationsOfThatName) {
  const DatabasePaths p{"base", "config", "optima", "system", "orders", "director", "price", "stockMan",
                        "tmp1", "tmp2", "tmp3", "serverOrders"};
  const std::pair<Db, const char*> names[] = {
      {Db::Base, "base"},         {Db::Config, "config"},     {Db::Orders, "orders"},
      {Db::ServerOrders, "serverOrders"},
      {Db::Director, "director"}, {Db::Price, "price"},       {Db::StockMan, "stockMan"},
      {Db::Optima, "optima"},     {Db::System, "system"}};
  for (const auto& [db, name] : names) EXPECT_EQ(DatabasePath(p, db), name);
}

// The catalogue's numbers must agree with each other: a wrong N or E makes a
// pack fail on a perfectly good installation, or pass with work undone.
TEST(Catalogue, CountsAddUpForEveryPackAndDatabase) {
  for (const Pack* pack : Catalogue()) {
    SCOPED_TRACE(std::string(pack->name));
    std::int32_t total = 0;
    std::set<Db> seen;
    for (const DatabaseWork& work : pack->databases) {
      EXPECT_TRUE(seen.insert(work.db).second) << "database listed twice";
      total += work.n;
      if (work.n == 0) continue;
      std::int32_t counted = pack->write == LevelWrite::None ? 0 : 1;
      for (const Step& step : work.steps) counted += step.counts;
      EXPECT_EQ(counted, work.n) << "database " << static_cast<int>(work.db);
    }
    EXPECT_EQ(total, pack->expected);
    EXPECT_TRUE(pack->messageTail.ends_with(std::to_string(pack->expected)));
    EXPECT_TRUE(pack->messageHead == "KolvoOperation=" || pack->messageHead == "KolvoOperation = ");
  }
}

TEST(Catalogue, RunOrderCoversTheCatalogueOnceWithItsGaugeBudget) {
  std::vector<const Pack*> walked;
  std::int32_t weights = 0, weightsBeforeGroupC = 0;
  for (const RunStep& step : RunOrder()) {
    weights += step.skipWeight;
    if (step.number < 19) weightsBeforeGroupC += step.skipWeight;
    for (const RunPack& run : step.packs) {
      walked.push_back(run.pack);
      EXPECT_EQ(run.pack->required, step.gate) << run.pack->name;
      EXPECT_TRUE(run.failure.starts_with("Установка невозможна\rКод: sp."));
      // Main packs move the level and are followed by a re-read; sub-packs do not.
      EXPECT_EQ(step.reread, run.pack->write == LevelWrite::ServicePack) << run.pack->name;
    }
  }
  EXPECT_EQ(walked, std::vector<const Pack*>(Catalogue().begin(), Catalogue().end()));
  EXPECT_EQ(weights, 543);
  EXPECT_EQ(weightsBeforeGroupC, 496);
  EXPECT_EQ(kGaugeBudget, weights + 6);
}

}  // namespace
}  // namespace kv::packs
