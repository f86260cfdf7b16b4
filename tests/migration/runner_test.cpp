// The frame every pack runs in: progress counting, level checks and level writes.
#include "migration/runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "platform/paths.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

using test::CreateLevelDatabase;
using test::MigrationHarness;
using test::QueryValue;

class ListGauge final : public Gauge {
 public:
  int Position() const override { return position; }
  int Maximum() const override { return maximum; }
  void SetPosition(int p) override {
    position = p;
    history.push_back(p);
  }
  int position = 0, maximum = 549;
  std::vector<int> history;
};

TEST(StepProgress, CountsAndWrapsTheGaugeAtItsMaximum) {
  test::FixedClock clock;
  ListGauge gauge;
  PackProgress progress(&gauge, clock);
  gauge.position = 545;
  progress.StepProgress(9);
  EXPECT_EQ(progress.KolvoOperation(), 9);
  EXPECT_EQ(gauge.history, (std::vector<int>{549, 0}));  // cut to the maximum, then back to 0
  EXPECT_EQ(clock.pauses, std::vector<int>{100});
  progress.StepProgress(3);
  EXPECT_EQ(gauge.position, 3);
  EXPECT_EQ(clock.pauses.size(), 1u);
  progress.ResetKolvoOperation();
  EXPECT_EQ(progress.KolvoOperation(), 0);
  EXPECT_EQ(gauge.position, 3);  // the gauge runs on across packs
}

/* An installation whose databases hold only their version records. */
struct LevelInstallation : MigrationHarness {
  explicit LevelInstallation(int level, bool numbered = false) : MigrationHarness(1, numbered) {
    installation.databases.serverOrders = dir / "srv/ServerOrders.fdb";
    for (const std::string& path : AllDatabases()) CreateLevelDatabase(path, level);
  }
  std::string Level(const std::string& path) {
    return QueryValue(path, "SELECT ServicePack || '/' || Build FROM kv_Setting");
  }
};

TEST(PackFrame, VersionOnlyPackMovesEveryDatabaseAtItsLevel) {
  LevelInstallation inst(5);
  const fb::ClientStats before = inst.services().client.stats();
  EXPECT_TRUE(RunPackFresh(inst.services(), packs::z_SP_06));
  // Per database one read transaction for the three reads of the level, and
  // the write's own, the one commit.
  const fb::ClientStats spent = inst.services().client.stats() - before;
  EXPECT_EQ(spent[fb::ClientCall::Start].calls, 18u);
  EXPECT_EQ(spent.Commits(), 9u);
  EXPECT_EQ(inst.progress.KolvoOperation(), 9);
  for (const std::string& path : inst.AllDatabases()) EXPECT_EQ(inst.Level(path), "6/0") << path;
  // A second run passes over all of them and still reaches its total.
  EXPECT_TRUE(RunPackFresh(inst.services(), packs::z_SP_06));
  EXPECT_EQ(inst.progress.KolvoOperation(), 9);
}

TEST(PackFrame, MissingDatabasesAndOtherLevelsCountAsDone) {
  LevelInstallation inst(5);
  const DatabasePaths& p = inst.installation.databases;
  std::filesystem::remove_all(FolderOf(p.director));  // Director and Price
  inst.installation.databases.serverOrders = "";
  test::Exec(p.stockMan, {"UPDATE kv_Setting SET ServicePack = 4"});
  EXPECT_TRUE(RunPackFresh(inst.services(), packs::z_SP_06));
  EXPECT_EQ(inst.progress.KolvoOperation(), 9);
  EXPECT_EQ(inst.Level(p.stockMan), "4/0");
  EXPECT_EQ(inst.Level(p.base), "6/0");
  EXPECT_EQ(MinimumLevelFresh(inst.services()), 4);
}

TEST(PackFrame, AFailedLevelWriteFallsShortAndSaysSoWhenNumbered) {
  for (bool numbered : {false, true}) {
    LevelInstallation inst(6, numbered);
    const DatabasePaths& p = inst.installation.databases;
    // The engine refuses every change of Optima's version record.
    test::Exec(p.optima, {"CREATE EXCEPTION no_write 'version record is locked'",
                          "CREATE TRIGGER kv_lock FOR kv_Setting BEFORE UPDATE AS BEGIN EXCEPTION no_write; END"});
    EXPECT_FALSE(RunPackFresh(inst.services(), packs::z_SP_08));
    EXPECT_EQ(inst.progress.KolvoOperation(), 8);
    EXPECT_EQ(inst.Level(p.optima), "6/0");
    EXPECT_EQ(inst.Level(p.system), "8/0");  // the databases after it are still worked on
    if (numbered) {
      ASSERT_EQ(inst.dialog.messages.size(), 2u);  // the failing statement, then the count
      EXPECT_EQ(inst.dialog.messages[0],
                p.optima + "\r\rUPDATE kv_Setting\r\nSET ServicePack = :p0, Build = :p1\r\n");
      EXPECT_EQ(inst.dialog.messages[1], "KolvoOperation = 8\r\rKolvo_SP_08 = 9");
    } else {
      EXPECT_TRUE(inst.dialog.messages.empty());
    }
    // Run again: only Optima is still at 6, and it still refuses.
    EXPECT_FALSE(RunPackFresh(inst.services(), packs::z_SP_08));
    EXPECT_EQ(MinimumLevelFresh(inst.services()), 6);
  }
}

TEST(PackFrame, NoLevelIsWrittenOverWorkThatDidNotCount) {
  // Base lacks the tables its columns go into: its visit falls short, and its
  // build stays, so that the next run does the work again.
  LevelInstallation inst(6);
  const DatabasePaths& p = inst.installation.databases;
  const std::vector<std::string> tables = {"CREATE TABLE Furnitura (a INT)", "CREATE TABLE RAB (a INT)"};
  test::Exec(p.config, tables);
  EXPECT_FALSE(RunPackFresh(inst.services(), packs::z_SP_06_2));
  EXPECT_EQ(inst.Level(p.base), "6/0");
  EXPECT_EQ(inst.Level(p.config), "6/2");
  test::Exec(p.base, tables);
  EXPECT_TRUE(RunPackFresh(inst.services(), packs::z_SP_06_2));
  EXPECT_EQ(inst.Level(p.base), "6/2");
  EXPECT_EQ(test::Columns(p.base, "RAB").size(), 7u);
}

TEST(PackFrame, LowestLevelAcrossTheDatabases) {
  MigrationHarness h;
  const DatabasePaths& p = h.installation.databases;
  EXPECT_EQ(MinimumLevelFresh(h.services()), std::numeric_limits<std::int32_t>::max());  // none present
  CreateLevelDatabase(p.system, 12);
  CreateLevelDatabase(p.orders, 11);
  CreateLevelDatabase(p.config, 11);
  EXPECT_EQ(MinimumLevelFresh(h.services()), 11);
  // A Config left behind by a failed run is never passed over.
  test::Exec(p.config, {"UPDATE kv_Setting SET ServicePack = 3"});
  EXPECT_EQ(MinimumLevelFresh(h.services()), 3);
  test::Exec(p.config, {"UPDATE kv_Setting SET ServicePack = 11"});
  test::Exec(p.system, {"UPDATE kv_Setting SET Version = 600"});
  EXPECT_EQ(MinimumLevelFresh(h.services()), -1);
}

TEST(PackFrame, VersionRecordInAFreshContext) {
  MigrationHarness h;
  CreateLevelDatabase(h.installation.databases.base, 9);
  test::Exec(h.installation.databases.base, {"UPDATE kv_Setting SET Build = 4"});
  std::int32_t v = 0, sp = 0, b = 0;
  EXPECT_TRUE(ReadVersionRecordFresh(h.services(), h.installation.databases.base, v, sp, b));
  EXPECT_EQ(std::tie(v, sp, b), std::make_tuple(700, 9, 4));
  EXPECT_FALSE(ReadVersionRecordFresh(h.services(), h.installation.databases.price, v, sp, b));
}

}  // namespace
}  // namespace kv
