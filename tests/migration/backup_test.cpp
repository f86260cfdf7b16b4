// Backups before a run and their restores, on a demo installation with the
// real engine: every database back where it was, refusals that change nothing.
#include "migration/backup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "migration/catalogue_walk.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

class NoObserver final : public RunObserver {
 public:
  void StepSkipped(const packs::RunStep&) override {}
  void RemoveTemporaryOrders(const packs::RunStep&) override {}
  void PackStarting(const packs::RunStep&, const packs::RunPack&) override {}
};

TEST(Backup, RestoresEveryDatabaseToItsStateBeforeTheRun) {
  test::DemoFixture f(0);
  const std::string before = f.Snapshot();
  const std::vector<std::string> dbs = DatabasesToBackUp(f.installation(), RealFileSystem());
  ASSERT_EQ(dbs.size(), 9u);
  BackupSettings settings{BackupRoot(f.installation().folders), nullptr};
  BackupObserver quiet;
  const BackupSet set = MakeBackup(f.services(), dbs, settings, {2026, 12, 8, 10, 5, 9}, quiet);
  EXPECT_EQ(set.folder, settings.root + "20261208-100509/");
  ASSERT_EQ(set.entries.size(), 9u);
  EXPECT_FALSE(std::filesystem::exists(set.folder + "verify.tmp.fdb"));

  // The run moves everything on (and the rows with it); the restore takes it all back.
  NoObserver none;
  ASSERT_EQ(WalkRunOrder(f.services(), none).failed, nullptr);
  test::Exec(f.paths().base, {"DELETE FROM kv_Setting"});
  ASSERT_NE(f.Snapshot(), before);
  const BackupSet read = ReadBackup(set.folder);
  ASSERT_TRUE(BackupMatches(read, f.installation()));
  RestoreBackup(f.services(), read, quiet);
  EXPECT_EQ(f.Snapshot(), before);
  EXPECT_EQ(f.Level(f.paths().base), "0/0");

  // A restore is refused while another program holds a database.
  {
    test::TestSession other(f.paths().orders);
    EXPECT_THROW(RestoreBackup(f.services(), read, quiet), BackupError);
  }
}

TEST(Backup, RefusesWithoutRoomAForeignManifestAndKeepsTheNewestFolders) {
  test::DemoFixture f(12);
  const std::vector<std::string> dbs = DatabasesToBackUp(f.installation(), RealFileSystem());
  BackupObserver quiet;
  BackupSettings tight{BackupRoot(f.installation().folders), [](const std::string&) -> std::uintmax_t { return 4096; }};
  try {
    MakeBackup(f.services(), dbs, tight, {2026, 12, 8, 10, 0, 0}, quiet);
    ADD_FAILURE() << "no room, yet a backup";
  } catch (const BackupError& e) {
    EXPECT_NE(std::string(e.what()).find("Недостаточно места"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find(tight.root), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(tight.root + "20261208-100000"));

  BackupSettings roomy{tight.root, nullptr};
  const BackupSet one = MakeBackup(f.services(), {f.paths().base}, roomy, {2026, 12, 8, 10, 0, 1}, quiet);
  test::DemoFixture other(12, 2);
  EXPECT_FALSE(BackupMatches(ReadBackup(one.folder), other.installation()));
  test::WriteFile(one.folder + "manifest.txt", "nonsense\n");
  EXPECT_THROW(ReadBackup(one.folder), BackupError);

  for (int s = 2; s <= 4; ++s) MakeBackup(f.services(), {f.paths().base}, roomy, {2026, 12, 8, 10, 0, s}, quiet);
  const std::vector<std::string> removed = PruneBackups(roomy.root, 2, roomy.root + "20261208-100001/");
  EXPECT_EQ(removed, (std::vector<std::string>{roomy.root + "20261208-100002/", roomy.root + "20261208-100003/"}));
  EXPECT_TRUE(std::filesystem::exists(roomy.root + "20261208-100001"));
  EXPECT_TRUE(std::filesystem::exists(roomy.root + "20261208-100004"));
}

}  // namespace
}  // namespace kv
