// The whole catalogue on a demo installation, walked as the wizard walks it:
// from level 0 to 12, again at 12, and resumed after a failing pack. The
// schema that results is compared with the description kept beside this test
// (KV_UPDATE_EXPECTED=1 rewrites it; review the difference before committing).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "migration/catalogue_walk.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

using test::DemoFixture;
using test::Exec;
using test::QueryValue;

class RecordingObserver final : public RunObserver {
 public:
  void StepSkipped(const packs::RunStep& s) override { events.push_back("skip " + std::to_string(s.number)); }
  void RemoveTemporaryOrders(const packs::RunStep& s) override {
    events.push_back("temporary " + std::to_string(s.number));
  }
  void PackStarting(const packs::RunStep&, const packs::RunPack& p) override { events.push_back(std::string(p.pack->name)); }
  std::vector<std::string> events;
};

std::string ExpectedPath() { return std::string(KV_TEST_DATA_DIR) + "/catalogue_level12.txt"; }

void CompareWithExpected(const std::string& snapshot) {
  if (std::getenv("KV_UPDATE_EXPECTED")) {
    std::ofstream(ExpectedPath(), std::ios::binary) << snapshot;
    return;
  }
  std::ifstream in(ExpectedPath(), std::ios::binary);
  ASSERT_TRUE(in) << "missing " << ExpectedPath();
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(snapshot, expected.str());
}

std::vector<std::string> VersionRecords(const DemoFixture& f) {
  std::vector<std::string> out;
  for (const std::string& db : KnownPaths(f.paths(), kPackDatabases))
    out.push_back(QueryValue(db, "SELECT Version || '/' || ServicePack || '/' || Build FROM kv_Setting"));
  return out;
}

TEST(WholeCatalogue, FromLevelZeroToTwelveThenAgain) {
  DemoFixture f(0);
  RecordingObserver first;
  WalkResult r = WalkRunOrder(f.services(), first);
  ASSERT_EQ(r.failed, nullptr) << (r.failed ? r.failed->pack->name : "");
  EXPECT_EQ(r.workingLevel, 12);

  // Every pack in catalogue order, nothing skipped.
  std::vector<std::string> expected;
  for (const packs::RunStep& step : packs::RunOrder()) {
    if (step.removeTemporaryOrders) expected.push_back("temporary " + std::to_string(step.number));
    for (const packs::RunPack& run : step.packs) expected.push_back(std::string(run.pack->name));
  }
  EXPECT_EQ(first.events, expected);
  EXPECT_EQ(VersionRecords(f), std::vector<std::string>(9, "700/12/0"));
  // Every user table can be read: each has its record format.
  for (const std::string& db : f.demo.databases)
    if (std::filesystem::exists(db)) {
      EXPECT_EQ(QueryValue(db, "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG = 0 "
                               "AND RDB$VIEW_BLR IS NULL AND RDB$FORMAT IS NULL"),
                "0")
          << db;
    }
  const std::string snapshot = f.Snapshot();
  CompareWithExpected(snapshot);
  EXPECT_TRUE(f.dialog.messages.empty());

  // At level 12 only the last group runs again, and changes nothing.
  RecordingObserver second;
  r = WalkRunOrder(f.services(), second);
  ASSERT_EQ(r.failed, nullptr);
  std::vector<std::string> again;
  for (int step = 1; step <= 18; ++step) again.push_back("skip " + std::to_string(step));
  again.insert(again.end(), {"temporary 19", "z_SP_12_1", "z_SP_12_2"});
  EXPECT_EQ(second.events, again);
  EXPECT_EQ(f.Snapshot(), snapshot);
  EXPECT_EQ(VersionRecords(f), std::vector<std::string>(9, "700/12/0"));
}

TEST(WholeCatalogue, AnInterruptedRunResumesAtTheFailedGroup) {
  DemoFixture f(0);
  const DatabasePaths& p = f.paths();
  // A view holds StockMan.NumberStock: 08_5 cannot drop it.
  Exec(p.stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
  RecordingObserver first;
  WalkResult r = WalkRunOrder(f.services(), first);
  ASSERT_NE(r.failed, nullptr);
  EXPECT_EQ(r.failed->pack, &packs::z_SP_08_5);
  EXPECT_EQ(r.failed->failure, "Установка невозможна\rКод: sp.08.5");
  EXPECT_EQ(first.events.back(), "z_SP_08_5");
  EXPECT_EQ(QueryValue(p.base, "SELECT ServicePack || '/' || Build FROM kv_Setting"), "8/5");
  // The refused drop counts nothing, so StockMan's Build is not written over it:
  // the next run visits it again.
  EXPECT_EQ(QueryValue(p.stockMan, "SELECT ServicePack || '/' || Build FROM kv_Setting"), "8/4");
  EXPECT_EQ(test::ColumnType(p.stockMan, "StockMan", "NumberStock"), "INTEGER");

  // The cause is removed; the next run starts again at the group of level 8.
  Exec(p.stockMan, {"DROP VIEW v_stock"});
  RecordingObserver second;
  r = WalkRunOrder(f.services(), second);
  ASSERT_EQ(r.failed, nullptr);
  std::vector<std::string> skipped(second.events.begin(), second.events.begin() + 10);
  EXPECT_EQ(skipped.front(), "skip 1");
  EXPECT_EQ(skipped.back(), "skip 10");
  EXPECT_EQ(second.events[10], "z_SP_08_1");
  EXPECT_EQ(VersionRecords(f), std::vector<std::string>(9, "700/12/0"));
  CompareWithExpected(f.Snapshot());
}

}  // namespace
}  // namespace kv
