// Nothing lost, on the program's command line: the restore after a failed
// unattended run (asked for by option, or later with --restore), a damaged
// backup that restores what it can and names what it could not, a backup that
// belongs elsewhere refused, one wizard per installation, and a SIGTERM that
// waits for the packs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "migration/backup.h"
#include "platform/instance_lock.h"
#include "platform/posix/reg_file_registry.h"
#include "startup/install_registry.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/program_run.h"
#include "support/schema_snapshot.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

test::ProgramRun Kvupgrade(const test::DemoFixture& f, const std::string& options) {
  return test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, options);
}

/* The backup folders of the installation, oldest first. */
std::vector<std::string> Backups(const Installation& inst) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : stdfs::directory_iterator(BackupRoot(inst.folders), ec)) out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

TEST(SafeRun, AFailedRunIsRestoredByOptionOrLaterFromItsBackup) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  test::Exec(f.paths().stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
  const std::string before = f.Contents();
  const std::string oldProgram = test::ReadFile(inst.folders.program + "kv700_d.exe");

  // Unattended without the option: the databases stay half-upgraded, the backup is named.
  const test::ProgramRun failed = Kvupgrade(f, "--unattended");
  EXPECT_EQ(failed.status, 4);
  ASSERT_EQ(Backups(inst).size(), 1u);
  const std::string folder = Backups(inst)[0] + "/";
  EXPECT_TRUE(failed.Printed("Базы данных можно восстановить из резервной копии: " + folder)) << failed.out;
  EXPECT_NE(f.Contents(), before);

  // Restored later, on purpose, but not while a wizard works on the installation.
  {
    const std::unique_ptr<InstanceLock> wizard = test::HoldWizardLock(inst);
    const test::ProgramRun refused = Kvupgrade(f, "--restore '" + folder + "'");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("Программа обновления запущена для этой установки"), std::string::npos);
  }
  const test::ProgramRun restored = Kvupgrade(f, "--restore '" + folder + "'");
  EXPECT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(f.Contents(), before);

  // With the option the failed run restores by itself; the registry and the program files were never touched.
  const test::ProgramRun automatic = Kvupgrade(f, "--unattended --restore-on-failure --keep-backups 1");
  EXPECT_EQ(automatic.status, 4);
  EXPECT_EQ(Backups(inst).size(), 1u) << "older backups beyond the kept one are removed";
  EXPECT_NE(automatic.out.find("Базы данных восстановлены из резервной копии: "), std::string::npos);
  EXPECT_EQ(f.Contents(), before);
  RegFileRegistry registry(f.demo.registryPath);
  EXPECT_EQ(ReadUserSetting(registry, "", "ServicePack"), 0);
  EXPECT_EQ(test::ReadFile(inst.folders.program + "kv700_d.exe"), oldProgram);
}

std::vector<std::string> Databases(const Installation& inst) {
  return KnownPaths(inst.databases, kPackDatabases);
}

/* The schema and rows of each database, by path. */
std::map<std::string, std::string> ContentsByDatabase(const Installation& inst) {
  std::map<std::string, std::string> out;
  for (const std::string& db : Databases(inst)) out[db] = test::SchemaSnapshot(db) + test::RowsSnapshot(db);
  return out;
}

// A run fails at its first pack, its backup of Base is cut in half later, and
// the restore from that backup must not destroy Base: it puts back the eight
// good databases, leaves Base as the failed run left it, and says so.
TEST(SafeRun, ARestoreFromABackupWithACutFileLeavesThatDatabaseAndNamesIt) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  const DatabasePaths& p = inst.databases;
  test::Exec(p.price, {"CREATE EXCEPTION E_NO_LEVEL 'level write refused'"});
  test::Exec(p.price, {"CREATE TRIGGER T_NO_LEVEL FOR kv_Setting BEFORE UPDATE AS BEGIN EXCEPTION E_NO_LEVEL; END"});
  const auto before = ContentsByDatabase(inst);

  const test::ProgramRun failed = Kvupgrade(f, "--unattended");
  ASSERT_EQ(failed.status, 4) << failed.err;
  EXPECT_NE(failed.err.find("Код: sp.01"), std::string::npos) << failed.err;
  ASSERT_EQ(Backups(inst).size(), 1u);
  const auto leftByTheRun = ContentsByDatabase(inst);
  ASSERT_NE(leftByTheRun, before);

  const std::string folder = Backups(inst)[0] + "/";
  const std::string cut = folder + "01-Base.fdb.fbk";
  const std::string bytes = test::ReadFile(cut);
  test::WriteFile(cut, bytes.substr(0, bytes.size() / 2));

  const test::ProgramRun restore = Kvupgrade(f, "--restore '" + folder + "'");
  EXPECT_NE(restore.status, 0);
  EXPECT_NE(restore.err.find("НЕ восстановлена, оставлена как была: " + p.base), std::string::npos) << restore.err;
  EXPECT_NE(restore.err.find("Восстановлены не все базы данных"), std::string::npos) << restore.err;
  EXPECT_FALSE(restore.Printed("Базы данных восстановлены из резервной копии " + folder));
  const auto after = ContentsByDatabase(inst);
  for (const std::string& db : Databases(inst)) {
    SCOPED_TRACE(db);
    EXPECT_EQ(after.at(db), db == p.base ? leftByTheRun.at(db) : before.at(db));
    EXPECT_TRUE(restore.Printed("Восстановлена: " + db) == (db != p.base));
    EXPECT_FALSE(stdfs::exists(db + ".restoring") || stdfs::exists(db + ".before-restore"));
  }
}

// The packs are not cut by a hang-up or a SIGTERM: each waits until they are
// done and is said on stderr; then the last ends the program, before the
// program files. (Unheld, a hang-up ends it at once, inside the pack.)
TEST(SafeRun, AHangUpOrSigtermDuringAPackWaitsUntilThePacksAreDone) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  const std::string program = test::InPlaceProgram(KV_UPGRADE_EXE, inst);
  const std::string oldProgram = test::ReadFile(inst.folders.program + "kv700_d.exe");
  const std::string out = f.dir / "term.out", err = f.dir / "term.err";
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("KV_REGISTRY", f.demo.registryPath.c_str(), 1);
    if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr)) _exit(126);
    execl(program.c_str(), program.c_str(), "--unattended", "--no-backup", static_cast<char*>(nullptr));
    _exit(127);
  }
  bool packRunning = false;
  for (int i = 0; i < 30000 && !packRunning; ++i) {
    packRunning = stdfs::exists(out) && test::ReadFile(out).find("> Установка Service Pack 01\n") != std::string::npos;
    if (!packRunning) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  kill(pid, SIGHUP);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  kill(pid, SIGTERM);
  int raw = 0;
  waitpid(pid, &raw, 0);
  ASSERT_TRUE(packRunning);
  EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == SIGTERM) << "status " << raw << "\n" << test::ReadFile(err);
  EXPECT_NE(test::ReadFile(err).find("kvupgrade: SIGHUP отложен"), std::string::npos) << test::ReadFile(err);
  EXPECT_NE(test::ReadFile(err).find("kvupgrade: SIGTERM отложен до конца работы, которую нельзя прерывать "
                                     "(Идёт обновление баз данных…)"),
            std::string::npos);
  for (const std::string& db : Databases(inst))
    EXPECT_EQ(test::QueryValue(db, "SELECT ServicePack FROM kv_Setting"), "12") << db;
  EXPECT_FALSE(test::ReadFile(out).find("> Установка Service Pack 12_2") == std::string::npos);
  EXPECT_TRUE(test::ReadFile(inst.folders.program + "kv700_d.exe") == oldProgram) << "program files replaced";
  RegFileRegistry registry(f.demo.registryPath);
  EXPECT_EQ(ReadUserSetting(registry, "", "ServicePack"), 0);

  // The next run finishes the rest.
  const test::ProgramRun rest = test::RunProgram(program, f, f.demo.registryPath, "--unattended --no-backup");
  EXPECT_EQ(rest.status, 0) << rest.err;
  EXPECT_FALSE(test::ReadFile(inst.folders.program + "kv700_d.exe") == oldProgram);
}

TEST(SafeRun, ABackupOfAnotherInstallationOrAMissingManifestIsRefused) {
  test::DemoFixture f(0);
  const std::string before = f.Contents();
  const std::string folder = f.dir / "foreign/";
  test::WriteFile(folder + "01-Base.fdb.fbk", "not a backup");
  test::WriteFile(folder + "manifest.txt", "/elsewhere/Base.fdb\t0\t0\t1000\t01-Base.fdb.fbk\n");
  const test::ProgramRun foreign = Kvupgrade(f, "--restore '" + folder + "'");
  EXPECT_EQ(foreign.status, 2);
  EXPECT_NE(foreign.err.find("сделана не для этой установки"), std::string::npos) << foreign.err;

  const test::ProgramRun empty = Kvupgrade(f, "--restore '" + f.dir.Path() + "'");
  EXPECT_EQ(empty.status, 2);
  EXPECT_NE(empty.err.find("manifest.txt"), std::string::npos) << empty.err;
  EXPECT_EQ(f.Contents(), before);
}

TEST(SafeRun, ASecondWizardOnTheSameInstallationRefusesToStart) {
  test::DemoFixture f(0);
  std::unique_ptr<InstanceLock> first = test::HoldWizardLock(f.demo.installation);
  ASSERT_TRUE(first);
  const Installation& inst = f.demo.installation;
  const test::ProgramRun second = Kvupgrade(f, "--unattended --no-backup");
  EXPECT_EQ(second.status, 2);
  EXPECT_NE(second.err.find("Программа обновления уже запущена для этой установки"), std::string::npos) << second.err;
  EXPECT_EQ(test::QueryValue(inst.databases.base, "SELECT ServicePack FROM kv_Setting"), "0");

  first.reset();  // the first wizard ends
  const test::ProgramRun alone = Kvupgrade(f, "--unattended --no-backup");
  EXPECT_EQ(alone.status, 0) << alone.err;
  EXPECT_TRUE(Backups(inst).empty());
}

}  // namespace
}  // namespace kv
