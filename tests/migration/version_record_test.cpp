// Reading and writing the version record of a database.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "migration/context.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

using test::CreateTestDatabase;
using test::MigrationHarness;
using test::Query;

const std::string kTable = "CREATE TABLE kv_Setting (Version INT, ServicePack INT, Build INT)";

/* A context open on the database made at path by setup; null when it does not open. */
std::unique_ptr<TDM1> OpenedOn(MigrationHarness& h, const std::string& path, const std::vector<std::string>& setup) {
  CreateTestDatabase(path, setup);
  auto dm = h.NewContext();
  if (!dm->OpenDataBase(path)) dm.reset();
  return dm;
}

TEST(VersionRecord, LevelOfADatabase) {
  MigrationHarness h;
  struct Case {
    std::vector<std::string> setup;
    std::int32_t level;
  };
  const Case cases[] = {
      {{kTable, "INSERT INTO kv_Setting VALUES (700, 9, 4)"}, 9},
      {{kTable, "INSERT INTO kv_Setting VALUES (700, NULL, NULL)"}, 0},
      {{kTable, "INSERT INTO kv_Setting VALUES (600, 9, 0)"}, -1},
      {{kTable, "INSERT INTO kv_Setting VALUES (NULL, 9, 0)"}, -1},
      {{kTable}, -1},  // no row: Version reads as 0
      {{"CREATE TABLE kv_Setting (Version INT)", "INSERT INTO kv_Setting VALUES (700)"}, 0},
      {{"CREATE TABLE other (a INT)"}, -1},
      {{kTable, "INSERT INTO kv_Setting VALUES (700, 5, 0)", "INSERT INTO kv_Setting VALUES (700, 2, 0)"}, 5},
  };
  int i = 0;
  for (const Case& c : cases) {
    const std::string path = h.Db(std::string("v").append(std::to_string(i++)).append(".fdb"));
    auto dm = OpenedOn(h, path, c.setup);
    ASSERT_TRUE(dm);
    EXPECT_EQ(dm->control_Version(), c.level) << c.setup.back();
  }
  EXPECT_TRUE(h.dialog.messages.empty());
}

TEST(VersionRecord, ControlBuildComparesAllThree) {
  MigrationHarness h;
  const std::string path = h.Db("b.fdb");
  auto dm = OpenedOn(h, path, {kTable, "INSERT INTO kv_Setting VALUES (700, 6, 2)"});
  ASSERT_TRUE(dm);
  EXPECT_TRUE(dm->control_Build(700, 6, 2));
  EXPECT_FALSE(dm->control_Build(700, 6, 3));
  EXPECT_FALSE(dm->control_Build(700, 5, 2));
  EXPECT_FALSE(dm->control_Build(600, 6, 2));

  const std::string noBuild = h.Db("nb.fdb");
  CreateTestDatabase(noBuild, {"CREATE TABLE kv_Setting (Version INT, ServicePack INT)",
                               "INSERT INTO kv_Setting VALUES (700, 6)"});
  ASSERT_TRUE(dm->OpenDataBase(noBuild));
  EXPECT_FALSE(dm->control_Build(700, 6, 0));
}

TEST(VersionRecord, WritesCountOnlyWhenTheyLand) {
  MigrationHarness h;
  const std::string path = h.Db("w.fdb");
  auto dm = OpenedOn(h, path, {kTable, "INSERT INTO kv_Setting VALUES (700, 5, 3)",
                               "INSERT INTO kv_Setting VALUES (700, 5, 3)"});
  ASSERT_TRUE(dm);
  dm->aaWrite_ServicePack(6);
  EXPECT_EQ(Query(path, "SELECT ServicePack, Build FROM kv_Setting"),
            (std::vector<std::vector<std::string>>{{"6", "0"}, {"6", "0"}}));  // both rows
  dm->aaWrite_Build(2);
  EXPECT_EQ(Query(path, "SELECT ServicePack, Build FROM kv_Setting")[0], (std::vector<std::string>{"6", "2"}));
  EXPECT_EQ(h.progress.KolvoOperation(), 2);

  const std::string old = h.Db("old.fdb");
  CreateTestDatabase(old, {"CREATE TABLE kv_Setting (Version INT)", "INSERT INTO kv_Setting VALUES (700)"});
  ASSERT_TRUE(dm->OpenDataBase(old));
  dm->aaWrite_ServicePack(1);
  dm->aaWrite_Build(1);
  EXPECT_EQ(h.progress.KolvoOperation(), 2);  // neither counted
  EXPECT_TRUE(h.dialog.messages.empty());     // not a numbered installation
}

TEST(VersionRecord, ReadServicePackOpensItsOwnDatabase) {
  MigrationHarness h(4, true);
  const std::string path = h.Db("r.fdb");
  CreateTestDatabase(path, {kTable, "INSERT INTO kv_Setting VALUES (700, 9, 4)"}, 4);
  auto dm = h.NewContext();
  std::int32_t v = -7, sp = -7, b = -7;
  EXPECT_FALSE(dm->aaRead_ServicePack(h.Db("missing.fdb"), v, sp, b));
  EXPECT_EQ(v, -7);
  EXPECT_TRUE(h.dialog.messages.empty());
  EXPECT_TRUE(dm->aaRead_ServicePack(path, v, sp, b));
  EXPECT_EQ(std::tie(v, sp, b), std::make_tuple(700, 9, 4));
  EXPECT_FALSE(dm->Connected());

  const std::string noColumns = h.Db("nc.fdb");
  CreateTestDatabase(noColumns, {"CREATE TABLE kv_Setting (Version INT)", "INSERT INTO kv_Setting VALUES (700)"}, 4);
  EXPECT_FALSE(dm->aaRead_ServicePack(noColumns, v, sp, b));
  ASSERT_EQ(h.dialog.messages.size(), 1u);  // numbered: the failing statement is shown
  EXPECT_EQ(h.dialog.messages[0], noColumns + "\r\rSELECT Version, ServicePack, Build\r\nFROM kv_Setting\r\n");
  EXPECT_FALSE(dm->Connected());
}

TEST(VersionRecord, ADroppedConnectionReadsAsUnreadable) {
  MigrationHarness h;
  const std::string path = h.Db("d.fdb");
  auto dm = OpenedOn(h, path, {kTable, "INSERT INTO kv_Setting VALUES (700, 4, 0)"});
  ASSERT_TRUE(dm);
  ASSERT_EQ(dm->control_Version(), 4);
  // Another attachment of the same user ends ours, as a server shutdown would.
  test::Exec(path, {"DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION"});
  EXPECT_EQ(dm->control_Version(), -1);
  EXPECT_FALSE(dm->control_Build(700, 4, 0));
  EXPECT_TRUE(h.dialog.messages.empty());
  // The engine purges a killed attachment in a thread of its own; the process
  // must not end while that thread still works.
  dm.reset();
  for (int i = 0; i < 500 && test::QueryValue(path, "SELECT COUNT(*) FROM MON$ATTACHMENTS") != "1"; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace
}  // namespace kv
