// The whole upgrade by the built kvupgrade.exe under Wine, against the real
// engine through the stand-in client: installations in folders with spaces
// and Cyrillic letters, recorded in Wine's registry, their databases copied
// from the Linux demo. Unattended with the backup and then again; a failed
// pack restored from the backup; a numbered installation; dates read
// through the stand-in client.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "support/fb_test_db.h"
#include "wine_installation.h"
#include "wine_test_support.h"

namespace kv {
namespace {

using test::WineInstallation;

std::string Expected(const std::string& name) {
  return RealFileSystem().ReadFile(test::WinPath(KV_TEST_DATA_DIR "/" + name));
}

/* Whether the program files are those the packages carried as PE resources give. */
void ExpectCarriedProgramFiles(const Installation& inst) {
  for (auto [file, type, name] : {std::tuple{"kv700_d.exe", "EXE", "KV7D"}, std::tuple{"tonic700.exe", "EXE", "TONIC7"},
                                  std::tuple{"kv5.bpl", "BPL", "BPL5"}})
    EXPECT_TRUE(test::ReadWholeFile(inst.folders.program + file) == test::CarriedFile(type, name)) << file;
}

TEST(WineUpgrade, UnattendedWithTheBackupUpgradesEverythingThenTheReinstallChangesNothing) {
  WineInstallation w(test::LinuxDemo("N1"));
  const Installation& inst = w.installation();

  const test::UpgradeRun run = test::RunUpgrade({"--unattended"});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(run.Printed("Обновление версии 7.00 успешно завершено")) << run.out;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(test::FirstDifference(w.Snapshot(), Expected("catalogue_level12.txt")), "");
  for (const std::string& db : w.Databases()) EXPECT_EQ(w.Level(db), "12/0") << db;
  ExpectCarriedProgramFiles(inst);
  EXPECT_EQ(test::UserValue(L"ServicePack"), 12u);
  EXPECT_EQ(test::UserValue(L"Build"), 0u);

  // The register log: 1251 with CR LF, as the installation's other programs read it.
  const std::string log = RealFileSystem().ReadFile(inst.folders.registerLog);
  ASSERT_FALSE(log.empty());
  for (std::size_t at = 0; (at = log.find('\n', at)) != std::string::npos; ++at)
    ASSERT_TRUE(at > 0 && log[at - 1] == '\r') << "a line without CR LF at " << at;
  for (const char* code : {" 000: *", "upgrade 7.10 d 003: *", "upgrade 7.10 d 502: *", "upgrade 7.10 d 004: *",
                           "Закрытие программы upgrade 7.10 d 009: *"})
    EXPECT_NE(log.find(Utf8ToAnsi(code)), std::string::npos) << code;

  // The run log names the databases and how the run ended.
  const std::vector<std::string> runLogs = test::FilesStartingWith(inst.folders.info, "kvupgrade-");
  ASSERT_EQ(runLogs.size(), 1u);
  const std::string runLog = RealFileSystem().ReadFile(runLogs[0]);
  EXPECT_NE(runLog.find(inst.databases.stockMan), std::string::npos) << runLog;
  EXPECT_NE(runLog.find("Статус завершения: 0"), std::string::npos) << runLog;

  // The verified backup of every database, in its dated folder.
  const std::vector<std::string> backups = test::FilesStartingWith(inst.folders.version + "Backup", "20");
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(run.Printed("Резервная копия баз данных: " + backups[0] + "\\")) << run.out;
  const std::vector<std::string> fbk = test::FilesStartingWith(backups[0], "0");
  EXPECT_EQ(fbk.size(), 9u);
  for (const std::string& f : fbk) EXPECT_TRUE(f.ends_with(".fdb.fbk")) << f;
  EXPECT_NE(test::ReadWholeFile(backups[0] + "\\manifest.txt").find(inst.databases.base + "\t0\t0\t"), std::string::npos);

  // Again: the reinstall is offered and run, and nothing changes.
  const std::string contents = w.Contents();
  const auto files = w.ProgramFiles();
  const test::UpgradeRun again = test::RunUpgrade({"--unattended", "--no-backup"});
  EXPECT_EQ(again.status, 0) << again.out << again.err;
  EXPECT_TRUE(again.Printed("У Вас установлены последние обновления")) << again.out;
  EXPECT_TRUE(again.Printed("Обновление версии 7.00 успешно завершено")) << again.out;
  EXPECT_EQ(test::FirstDifference(w.Contents(), contents), "");
  EXPECT_TRUE(w.ProgramFiles() == files);
  EXPECT_EQ(test::UserValue(L"ServicePack"), 12u);
  EXPECT_EQ(test::UserValue(L"Build"), 0u);
}

TEST(WineUpgrade, AFailedPackIsRestoredFromTheBackupAndNothingElseChanges) {
  WineInstallation w(test::LinuxDemo("N1"));
  // A view over a column a pack changes stops that pack.
  test::Exec(w.installation().databases.stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
  const std::string contents = w.Contents();
  const auto files = w.ProgramFiles();

  const test::UpgradeRun run = test::RunUpgrade({"--unattended", "--restore-on-failure"});
  EXPECT_EQ(run.status, 4) << run.out << run.err;
  EXPECT_NE(run.out.find("Базы данных восстановлены из резервной копии: "), std::string::npos) << run.out;
  EXPECT_EQ(test::FirstDifference(w.Contents(), contents), "");
  EXPECT_TRUE(w.ProgramFiles() == files);
  EXPECT_FALSE(test::UserValue(L"ServicePack"));
  EXPECT_FALSE(test::UserValue(L"Build"));
}

TEST(WineUpgrade, ANumberedInstallationUpgradesItsDatabasesAndLeavesTheRest) {
  WineInstallation w(test::LinuxDemo("N2"), 2, true);
  const auto files = w.ProgramFiles();
  // The backup is proven above; this run does without it.
  const test::UpgradeRun run = test::RunUpgrade({"--unattended", "--installation", "2", "--no-backup"});
  EXPECT_EQ(run.status, 6) << run.out << run.err;
  for (const std::string& db : w.Databases()) EXPECT_EQ(w.Level(db), "12/0") << db;
  EXPECT_TRUE(w.ProgramFiles() == files);
  EXPECT_FALSE(test::UserValue(L"ServicePack"));
}

TEST(WineClient, DatesAndTimesAreReadIntoTheWindowsRuntimesStructures) {
  // The decode functions fill the Windows C runtime's struct tm, nine ints.
  const std::string db = test::LinuxDemo("N1") + "\\base\\Kven700\\Base\\Base.fdb";
  EXPECT_EQ(test::Query(db, "SELECT CAST('2024-03-04' AS DATE), CAST('13:45:07' AS TIME), "
                            "CAST('1999-12-31 23:59:58' AS TIMESTAMP) FROM RDB$DATABASE"),
            (test::Rows{{"2024-03-04", "13:45:07", "1999-12-31 23:59:58"}}));
}

}  // namespace
}  // namespace kv
