// The program through a real Firebird server: the derived password, the
// service manager, a refused login, a stopped server, and the plan. Each test
// starts its own private server before the client library is first used.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "migration/backup.h"
#include "platform/posix/reg_file_registry.h"
#include "startup/install_registry.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/firebird_server.h"
#include "support/program_run.h"
#include "support/schema_snapshot.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

std::string Expected(const std::string& name) {
  std::ifstream in(std::string(KV_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Databases(const Installation& inst) {
  const DatabasePaths& p = inst.databases;
  return {p.base, p.config, p.orders, p.serverOrders, p.director, p.price, p.stockMan, p.optima, p.system};
}

/* Every file under folder with its bytes. */
std::map<std::string, std::string> FilesUnder(const std::string& folder) {
  std::map<std::string, std::string> out;
  for (const auto& e : stdfs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) out[e.path().string()] = test::ReadFile(e.path().string());
  return out;
}

test::ProgramRun Unattended(const test::DemoFixture& f, const std::string& extra = "") {
  return test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--unattended " + extra);
}

TEST(ThroughTheServer, ALevel0DemoIsUpgradedAsWithTheEmbeddedEngine) {
  test::FirebirdServer server;
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  // The demo's databases were made through the server, by the installation's user.
  EXPECT_EQ(test::QueryValue(inst.databases.orders,
                             "SELECT MON$REMOTE_PROTOCOL || ' ' || MON$USER FROM MON$ATTACHMENTS "
                             "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
            "TCPv4 kv5.1");
  EXPECT_EQ(test::QueryValue(inst.databases.orders,
                             "SELECT TRIM(RDB$OWNER_NAME) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'KV_SETTING'"),
            "kv5.1");

  const test::ProgramRun run = Unattended(f);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(run.Printed("Обновление версии 7.00 успешно завершено"));
  EXPECT_EQ(f.Snapshot(), Expected("catalogue_level12.txt"));
  for (const std::string& db : Databases(inst)) EXPECT_EQ(f.Level(db), "12/0") << db;
  RegFileRegistry registry(f.demo.registryPath);
  EXPECT_EQ(ReadUserSetting(registry, "", "ServicePack"), 12);

  // The server wrote the backup made before the first pack.
  int backups = 0;
  for (const auto& e : stdfs::recursive_directory_iterator(BackupRoot(inst.folders)))
    backups += e.path().extension() == ".fbk";
  EXPECT_EQ(backups, 9);
}

TEST(ThroughTheServer, ABackupFolderTheServerCannotWriteIsNamedBeforeAnythingChanges) {
  if (!test::FirebirdServer::CanCloseFolders()) GTEST_SKIP() << "this process cannot give the server a mount namespace";
  test::FirebirdServer server({1}, true);
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  // The program makes its backup folder under a root the server was given no right to.
  const std::string root = BackupRoot(inst.folders);
  stdfs::create_symlink(server.ClosedFolder(), root.substr(0, root.size() - 1));

  const test::ProgramRun run = Unattended(f);
  EXPECT_EQ(run.status, 10) << run.out << run.err;
  EXPECT_NE(run.err.find("Сервер Firebird не может записать резервную копию в папку"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Дайте учётной записи сервера право записи в папку " + root), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Обновление не начато, базы данных не изменены."), std::string::npos) << run.err;
  EXPECT_TRUE(stdfs::is_empty(server.ClosedFolder())) << "the backup folder that failed is removed";
  for (const std::string& db : Databases(inst)) EXPECT_EQ(f.Level(db), "0/0") << db;
}

// The restore through a server: the server writes each side file under its
// own account and holds each database until its last attachment ends; a cut
// backup file leaves its database as the failed run left it.
TEST(ThroughTheServer, ARestoreReplacesWhatItProvedAndLeavesADatabaseWithACutBackupFile) {
  test::FirebirdServer server;
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  test::Exec(inst.databases.price, {"CREATE EXCEPTION E_NO_LEVEL 'level write refused'"});
  test::Exec(inst.databases.price,
             {"CREATE TRIGGER T_NO_LEVEL FOR kv_Setting BEFORE UPDATE AS BEGIN EXCEPTION E_NO_LEVEL; END"});
  std::map<std::string, std::string> before, left;
  for (const std::string& db : Databases(inst)) before[db] = test::SchemaSnapshot(db) + test::RowsSnapshot(db);
  ASSERT_EQ(Unattended(f).status, 4);
  for (const std::string& db : Databases(inst)) left[db] = test::SchemaSnapshot(db) + test::RowsSnapshot(db);

  std::string folder;
  for (const auto& e : stdfs::directory_iterator(BackupRoot(inst.folders))) folder = e.path().string() + "/";
  const std::string cut = folder + "01-Base.fdb.fbk", bytes = test::ReadFile(cut);
  test::WriteFile(cut, bytes.substr(0, bytes.size() / 2));
  const test::ProgramRun restore = test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--restore '" + folder + "'");
  EXPECT_EQ(restore.status, 1) << restore.err;
  EXPECT_NE(restore.err.find("НЕ восстановлена, оставлена как была: " + inst.databases.base), std::string::npos)
      << restore.err;
  for (const std::string& db : Databases(inst)) {
    SCOPED_TRACE(db);
    EXPECT_EQ(test::SchemaSnapshot(db) + test::RowsSnapshot(db), db == inst.databases.base ? left[db] : before[db]);
    EXPECT_FALSE(stdfs::exists(db + ".restoring") || stdfs::exists(db + ".before-restore"));
  }
}

TEST(ThroughTheServer, AWrongPasswordStopsTheFirstPackNamingTheDatabaseAndTheReason) {
  test::FirebirdServer server;
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  const std::string oldProgram = test::ReadFile(inst.folders.program + "kv700_d.exe");
  server.AsSysdba({"ALTER USER \"kv5.1\" PASSWORD 'another1'"});

  const test::ProgramRun run = Unattended(f);
  EXPECT_EQ(run.status, 4) << run.out << run.err;
  EXPECT_NE(run.err.find("База данных не открывается: " + inst.databases.base + ": "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Your user name and password are not defined"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Не удалось открыть базы данных установки, они не обновлены."), std::string::npos) << run.err;
  EXPECT_EQ(test::ReadFile(inst.folders.program + "kv700_d.exe"), oldProgram);

  server.AsSysdba({"ALTER USER \"kv5.1\" PASSWORD '" + InstallationPassword(1) + "'"});
  for (const std::string& db : Databases(inst)) EXPECT_EQ(f.Level(db), "0/0") << db;
  const test::ProgramRun again = Unattended(f);
  EXPECT_EQ(again.status, 0) << again.err;
}

TEST(ThroughTheServer, AStoppedServerIsNamedAndNothingChanges) {
  test::FirebirdServer server;
  test::DemoFixture f(0);
  server.Stop();
  const std::map<std::string, std::string> before = FilesUnder(f.dir.Path());

  const test::ProgramRun run = Unattended(f);
  EXPECT_EQ(run.status, 4) << run.out << run.err;
  EXPECT_NE(run.err.find("База данных не открывается: " + f.paths().orders + ": Unable to complete network request"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("Не удалось открыть базы данных установки, они не обновлены."), std::string::npos) << run.err;
  std::map<std::string, std::string> after = FilesUnder(f.dir.Path());
  // The program's own traces: its copy in the version folder, its register log,
  // its run log and the console output.
  for (auto it = after.begin(); it != after.end();)
    it = it->first.find("/Info/") != std::string::npos || it->first == f.demo.installation.folders.version + "kvupgrade" ||
                 it->first == f.dir / "out.txt" || it->first == f.dir / "err.txt"
             ? after.erase(it)
             : std::next(it);
  for (auto it = after.begin(); it != after.end(); ++it)
    EXPECT_TRUE(before.count(it->first) && before.at(it->first) == it->second) << it->first << " changed";
}

TEST(ThroughTheServer, ThePlanReadsTheDatabasesThroughTheServerAndChangesNothing) {
  test::FirebirdServer server;
  test::DemoFixture f(8);
  const std::map<std::string, std::string> before = FilesUnder(f.dir.Path());
  const test::ProgramRun plan = test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--plan");
  EXPECT_EQ(plan.status, 0) << plan.err;
  EXPECT_NE(plan.out.find("Рабочий уровень: 8"), std::string::npos) << plan.out;
  EXPECT_NE(plan.out.find("открывается; Version 700, ServicePack 8"), std::string::npos) << plan.out;
  std::map<std::string, std::string> after = FilesUnder(f.dir.Path());
  after.erase(f.dir / "out.txt");
  after.erase(f.dir / "err.txt");
  EXPECT_EQ(after.size(), before.size());
  for (const auto& [path, bytes] : after) EXPECT_TRUE(before.count(path) && before.at(path) == bytes) << path;

  // The plan agrees with the run that follows.
  const test::ProgramRun run = Unattended(f);
  EXPECT_EQ(run.status, 0) << run.err;
}

}  // namespace
}  // namespace kv
