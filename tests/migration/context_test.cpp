// Creating a database context and opening databases through it.
#include "migration/context.h"

#include <gtest/gtest.h>

#include "support/fb_test_db.h"
#include "support/forwarding_file_system.h"

namespace kv {
namespace {

using test::CreateTestDatabase;
using test::MigrationHarness;
using test::WriteFile;

/* A file system that cannot delete the files it is told about. */
class StubbornFiles final : public test::ForwardingFileSystem {
 public:
  explicit StubbornFiles(std::vector<std::string> busy) : busy_(std::move(busy)) {}
  bool TryDeleteFile(const std::string& p) override {
    for (const auto& b : busy_)
      if (b == p) return false;
    return ForwardingFileSystem::TryDeleteFile(p);
  }

 private:
  std::vector<std::string> busy_;
};

TEST(DatabaseContext, CreationJudgesTheServerOnceAndRemovesTemporaryOrders) {
  MigrationHarness h;
  const auto& p = h.installation.databases;
  for (auto* tmp : {&p.ordersTmp1, &p.ordersTmp2, &p.ordersTmp3}) WriteFile(*tmp, "old");
  h.NewContext();
  EXPECT_EQ(h.version.FirebirdVersion, 30);  // the embedded engine of this machine
  EXPECT_TRUE(h.dialog.messages.empty());
  EXPECT_TRUE(h.dialog.questions.empty());
  for (auto* tmp : {&p.ordersTmp1, &p.ordersTmp2, &p.ordersTmp3}) EXPECT_FALSE(RealFileSystem().FileExists(*tmp));

  // A value already known is not asked again, even an old one: the files go.
  h.version.FirebirdVersion = 21;
  WriteFile(p.ordersTmp2, "old");
  h.NewContext();
  EXPECT_TRUE(h.dialog.questions.empty());
  EXPECT_EQ(h.version.FirebirdVersion, 21);
  EXPECT_FALSE(RealFileSystem().FileExists(p.ordersTmp2));
}

TEST(DatabaseContext, AnUndeletableTemporaryFileStopsTheRemovalThere) {
  MigrationHarness h;
  const auto& p = h.installation.databases;
  for (auto* tmp : {&p.ordersTmp1, &p.ordersTmp2, &p.ordersTmp3}) WriteFile(*tmp, "old");
  StubbornFiles files({p.ordersTmp2});
  MigrationServices services{h.services().client, h.installation, h.dialog, files, h.version, h.progress};
  TDM1 dm(services);
  EXPECT_FALSE(files.FileExists(p.ordersTmp1));
  EXPECT_TRUE(files.FileExists(p.ordersTmp2));
  EXPECT_TRUE(files.FileExists(p.ordersTmp3));  // not attempted
}

TEST(DatabaseContext, OpenDataBaseCases) {
  MigrationHarness h;
  const std::string a = h.Db("a.fdb"), b = h.Db("b.fdb");
  CreateTestDatabase(a, {"CREATE TABLE kv_Setting (Version INT, ServicePack INT, Build INT)",
                         "INSERT INTO kv_Setting VALUES (700, 3, 0)"});
  WriteFile(b, "this is not a database");
  auto dm = h.NewContext();
  EXPECT_FALSE(dm->OpenDataBase(""));
  EXPECT_TRUE(dm->OpenDataBase(a));
  EXPECT_EQ(dm->control_Version(), 3);
  // A missing file leaves the open database connected.
  EXPECT_FALSE(dm->OpenDataBase(h.Db("missing.fdb")));
  EXPECT_TRUE(dm->Connected());
  EXPECT_EQ(dm->control_Version(), 3);
  // A refused connection is false without a message.
  EXPECT_FALSE(dm->OpenDataBase(b));
  EXPECT_FALSE(dm->Connected());
  EXPECT_EQ(dm->control_Version(), -1);
  EXPECT_TRUE(h.dialog.messages.empty());
}

TEST(DatabaseContext, TheInstallationUserReachesTheEngine) {
  MigrationHarness owner(1);
  const std::string path = owner.Db("owned.fdb");
  CreateTestDatabase(path, {"CREATE TABLE t (a INT)", "CREATE TABLE kv_Setting (Version INT, ServicePack INT, Build INT)",
                            "INSERT INTO kv_Setting VALUES (700, 0, 0)"});
  auto dm = owner.NewContext();
  ASSERT_TRUE(dm->OpenDataBase(path));
  EXPECT_EQ(dm->ReadText({"SELECT CURRENT_USER FROM RDB$DATABASE"}), "kv5.1");
  dm->CloseDataBase();

  // Installation 2 connects as kv5.2: the engine refuses it changes to kv5.1's tables.
  MigrationHarness other(2, true);
  auto dm2 = other.NewContext();
  ASSERT_TRUE(dm2->OpenDataBase(path));
  EXPECT_EQ(dm2->ReadText({"SELECT CURRENT_USER FROM RDB$DATABASE"}), "kv5.2");
  dm2->CommitRead();  // reads end before an operation starts
  dm2->aaColumnAdd("t", "b", "i", 0);
  EXPECT_EQ(other.progress.KolvoOperation(), 0);
  ASSERT_EQ(other.dialog.messages.size(), 1u);  // numbered: the failing statement is shown
  EXPECT_EQ(other.dialog.messages[0], path + "\r\rALTER TABLE t\r\nADD b INTEGER\r\n");
}

}  // namespace
}  // namespace kv
