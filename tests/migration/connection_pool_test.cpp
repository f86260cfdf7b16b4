// Connections lent to the units of work of a run: one attachment per database
// for the checks and the walk, none left afterwards however the walk ends; a
// unit sees what the unit before it committed on the same attachment; a
// connection the engine ended is replaced; the checks of other users leave
// the program's own connections out.
#include "migration/connection_pool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "migration/backup.h"
#include "migration/catalogue_walk.h"
#include "migration/other_connections.h"
#include "migration/runner.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

/* User attachments to path other than the one asking. */
int OtherAttachments(const std::string& path) {
  return std::stoi(test::QueryValue(path, "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0 "
                                          "AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
}

std::uint64_t Attachments(const MigrationServices& s) { return s.client.stats().Attachments(); }

class CountingObserver final : public RunObserver {
 public:
  explicit CountingObserver(const test::DemoFixture& f, bool throwAtFirstPack = false)
      : f_(f), throw_(throwAtFirstPack) {}
  void StepSkipped(const packs::RunStep&) override {}
  void RemoveTemporaryOrders(const packs::RunStep&) override {}
  void PackStarting(const packs::RunStep&, const packs::RunPack&) override {
    // Between packs no context is open: what is attached is the pool's.
    heldDuringWalk = std::max(heldDuringWalk, OtherAttachments(f_.paths().base));
    ++asked;  // an attachment of its own
    if (throw_) throw std::runtime_error("observer failed");
  }
  int heldDuringWalk = 0;
  std::uint64_t asked = 0;

 private:
  const test::DemoFixture& f_;
  bool throw_;
};

void ExpectNothingHeld(const test::DemoFixture& f, const char* how) {
  for (const std::string& db : f.demo.databases)
    if (std::filesystem::exists(db)) {
      EXPECT_EQ(OtherAttachments(db), 0) << how << ": " << db;
    }
}

TEST(ConnectionPool, AWalkAttachesToEachDatabaseOnceAndLeavesNothingWhenItSucceedsFailsOrThrows) {
  {
    test::DemoFixture f(12);
    CountingObserver observer(f);
    const std::uint64_t before = Attachments(f.services());
    const WalkResult r = WalkRunOrder(f.services(), observer);
    ASSERT_EQ(r.failed, nullptr);
    // Two surveys, the level reads and a pack over nine databases.
    EXPECT_EQ(Attachments(f.services()) - before - observer.asked, 9u);
    EXPECT_EQ(observer.heldDuringWalk, 1);
    EXPECT_EQ(f.services().pool, nullptr);
    ExpectNothingHeld(f, "success");
  }
  {
    test::DemoFixture f(8);
    test::Exec(f.paths().stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
    CountingObserver observer(f);
    const WalkResult r = WalkRunOrder(f.services(), observer);
    ASSERT_NE(r.failed, nullptr);
    EXPECT_EQ(observer.heldDuringWalk, 1);
    ExpectNothingHeld(f, "failed pack");
  }
  {
    test::DemoFixture f(12);
    CountingObserver observer(f, true);
    EXPECT_THROW(WalkRunOrder(f.services(), observer), std::runtime_error);
    EXPECT_EQ(f.services().pool, nullptr);
    ExpectNothingHeld(f, "exception");
  }
}

TEST(ConnectionPool, EachUnitSeesWhatTheUnitBeforeCommittedAndNothingItKeptHoldsATable) {
  test::MigrationHarness h;
  const std::string db = h.installation.databases.base;
  test::CreateLevelDatabase(db, 3);
  test::Exec(db, {"CREATE TABLE Tovar (Nom INTEGER)", "INSERT INTO Tovar VALUES (1)"});
  ConnectionLending lending(h.services());
  const std::uint64_t before = Attachments(h.services());
  {
    std::unique_ptr<TDM1> dm = h.NewContext();
    ASSERT_TRUE(dm->OpenDataBase(db));
    EXPECT_EQ(dm->control_Version(), 3);
    dm->aaColumnAdd("Tovar", "Note", "t24", 0);
  }
  {
    // The column is in the engine's metadata for this attachment: it can be
    // written and read by statements prepared now.
    std::unique_ptr<TDM1> dm = h.NewContext();
    ASSERT_TRUE(dm->OpenDataBase(db));
    EXPECT_TRUE(dm->bbColumnControl("Tovar", "Note"));
    EXPECT_TRUE(dm->WriteDiscipline({"UPDATE Tovar", "SET Note = 'x'"}));
    EXPECT_EQ(dm->ReadText({"SELECT Note", "FROM Tovar"}), "x");
    dm->CommitRead();
  }
  {
    // No statement on Tovar or kv_Setting outlived its unit: both can change.
    std::unique_ptr<TDM1> dm = h.NewContext();
    ASSERT_TRUE(dm->OpenDataBase(db));
    dm->aaColumnPereName("Tovar", "Note", "Remark");
    dm->aaColumnDelete("Tovar", "Remark");
    EXPECT_FALSE(dm->bbColumnControl("Tovar", "Remark"));
    dm->aaColumnAdd("kv_Setting", "Stamp", "i", 0);
    dm->aaWrite_ServicePack(4);
    EXPECT_EQ(dm->control_Version(), 4);
  }
  EXPECT_EQ(Attachments(h.services()) - before, 1u);
  EXPECT_EQ(h.progress.KolvoOperation(), 5);
  EXPECT_EQ(h.dialog.ShownCount(), 0u);
  lending.End();
  EXPECT_EQ(test::Columns(db, "Tovar"), (std::vector<std::string>{"NOM INTEGER"}));
  EXPECT_EQ(test::ColumnType(db, "kv_Setting", "Stamp"), "INTEGER");
}

TEST(ConnectionPool, AConnectionTheEngineEndedIsReplacedAndAFileThatDoesNotOpenLeavesNothing) {
  test::MigrationHarness h;
  const std::string db = h.installation.databases.base;
  const std::string notADatabase = h.installation.databases.price;
  test::CreateLevelDatabase(db, 5);
  std::filesystem::create_directories(std::filesystem::path(notADatabase).parent_path());
  test::WriteFile(notADatabase, "not a database");
  ConnectionPool pool(h.services().client,
                      {h.installation.connection.userLine, h.installation.connection.passwordLine},
                      kConnectionCharset, {db, notADatabase});
  h.services().pool = &pool;
  auto level = [&] {
    std::unique_ptr<TDM1> dm = h.NewContext();
    return dm->OpenDataBase(db) ? dm->control_Version() : -2;
  };
  EXPECT_EQ(level(), 5);
  EXPECT_EQ(pool.Kept(), 1u);
  // Another client ends the kept attachment, as a lost server would.
  test::Exec(db, {"DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION"});
  const std::uint64_t before = Attachments(h.services());
  EXPECT_EQ(level(), 5);  // not -1: a fresh attachment took its place
  EXPECT_EQ(Attachments(h.services()) - before, 1u);
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::unique_ptr<TDM1> dm = h.NewContext();
    EXPECT_EQ(dm->TryOpenDataBase(notADatabase), OpenResult::Refused);
  }
  EXPECT_EQ(Attachments(h.services()) - before, 3u);  // each unit tried the file again
  EXPECT_EQ(pool.Kept(), 1u);
  h.services().pool = nullptr;
}

TEST(ConnectionLending, TheChecksOfOtherUsersLeaveOutTheProgramsOwnConnections) {
  test::DemoFixture f(11);
  BackupObserver quiet;
  const BackupSet backup =
      MakeBackup(f.services(), {f.paths().base}, {BackupRoot(f.installation().folders), nullptr},
                 {2026, 12, 8, 10, 0, 0}, quiet);
  ConnectionLending lending(f.services());
  ASSERT_NE(f.services().pool, nullptr);
  for (const SurveyedDatabase& d : SurveyDatabasesFresh(f.services())) ASSERT_NE(d.open, OpenResult::Refused);
  EXPECT_EQ(f.services().pool->Kept(), 9u);
  EXPECT_TRUE(FindOtherConnections(f.services(), DatabasesToBackUp(f.installation(), RealFileSystem())).empty());
  // The restore gives back what the pool kept before it replaces the files.
  test::Exec(f.paths().base, {"UPDATE kv_Setting SET ServicePack = 12"});
  EXPECT_NO_THROW(RestoreBackup(f.services(), backup, quiet));
  EXPECT_EQ(f.Level(f.paths().base), "11/0");
  EXPECT_EQ(f.services().pool->Kept(), 0u);
  lending.End();
  ExpectNothingHeld(f, "after the restore");
}

}  // namespace
}  // namespace kv
