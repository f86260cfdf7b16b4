// The install run on demo installations, with the wizard's own carried
// packages: what the install page shows, the gauge, the registry, the files.
#include "wizard/install_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/paths.h"
#include "platform/posix/reg_file_registry.h"
#include "migration/backup.h"
#include "platform/text_codec.h"
#include "startup/install_registry.h"
#include "support/busy_file_system.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/recording_window.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;

struct InstallSite {
  explicit InstallSite(int level, int installation = 1, bool numbered = false, std::set<std::string> busy = {})
      : demo(level, installation, numbered), files(std::move(busy)) {
    demo.progress.SetGauge(&gauge);
    RealFileSystem().CreateDirs(demo.installation().folders.info);
  }

  InstallOutcome Run() {
    MigrationServices migration{demo.services().client, demo.installation(), window, files, demo.version,
                                demo.progress};
    InstallRunServices s{window, log, registry, files, *executable, demo.installation(), migration, nullptr, safety};
    return RunInstall(s, {7, 0, 12, 0});
  }

  /* The labels of the run order and the program files (not those of the checks before them). */
  Strings Labels() const {
    Strings out;
    for (const std::string& e : window.EventsStartingWith("label: "))
      if (e != "label:  Проверка форматов таблиц" && e != "label:  Проверка подключений к базам данных" &&
          e.rfind("label:  Резервная копия: ", 0) != 0 && e.rfind("label:  Проверка резервной копии: ", 0) != 0 &&
          e.rfind("label:  Восстановление: ", 0) != 0)
        out.push_back(e.substr(7));
    return out;
  }
  /* Gauge position at the moment the label text was set. */
  int GaugeAt(const std::string& label) const {
    int position = 0;
    for (const std::string& e : window.events) {
      if (e.rfind("gauge: ", 0) == 0) position = std::stoi(e.substr(7));
      if (e == "label: " + label) return position;
    }
    return -1;
  }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    const std::string text = AnsiToUtf8(test::ReadFile(demo.demo.installation.folders.registerLog));
    for (size_t at = text.find(": *"); at != std::string::npos; at = text.find(": *", at + 1)) {
      size_t start = text.rfind(' ', at - 1) + 1;
      codes.push_back(std::stoi(text.substr(start, at - start)));
    }
    return codes;
  }
  std::string Program(const std::string& name) const {
    return test::ReadFile(demo.demo.installation.folders.program + name);
  }

  test::DemoFixture demo;
  test::BusyFileSystem files;
  test::RecordingWindow window;
  WindowGauge gauge{window};
  RegisterLog log{{kApplicationTitle, KV_UPGRADE_EXE, demo.installation().folders.info,
                   demo.installation().folders.registerLog},
                  RealFileSystem(), demo.clock, window};
  RegFileRegistry registry{demo.demo.registryPath};
  std::unique_ptr<OwnExecutable> executable = OpenBundledExecutable(KV_UPGRADE_EXE);
  RunSafety safety{.backup = false};
};

std::string Running(const std::string& pack) { return " Установка Service Pack " + pack; }

TEST(InstallRun, FromLevelZeroEveryStepRunsThenFilesAndRegistry) {
  InstallSite site(0);
  EXPECT_EQ(site.Run(), InstallOutcome::Completed);
  Strings labels = site.Labels();
  Strings running;
  for (const std::string& l : labels)
    if (l.rfind(" Установка Service Pack", 0) == 0) running.push_back(l);
  EXPECT_EQ(running.size(), 30u);
  EXPECT_EQ(running.front(), Running("01"));
  EXPECT_EQ(running[5], Running("04_2"));  // z_SP_04_3 under its step's name
  EXPECT_EQ(running.back(), Running("12_2"));
  for (const std::string& l : labels) EXPECT_EQ(l.rfind(" Service Pack", 0), std::string::npos) << "skipped: " << l;

  EXPECT_EQ(site.window.memo3.front(), "Установка обновлений...");
  EXPECT_EQ(Strings(site.window.memo3.end() - 4, site.window.memo3.end()),
            (Strings{"", "Обновление версии 7.00 успешно завершено", "",
                     "Установлена следующая конфигурация: ServicePack: 12, Build: 0"}));
  EXPECT_TRUE(site.window.messages.empty());
  EXPECT_EQ(ReadUserSetting(site.registry, "", "ServicePack"), 12);
  EXPECT_EQ(ReadUserSetting(site.registry, "", "Build"), 0);
  EXPECT_NE(site.Program("kv700_d.exe").rfind("old ", 0), 0u);  // replaced from the carried package
  EXPECT_FALSE(std::filesystem::exists(site.demo.installation().folders.program + "kv700_h.exe"));  // not carried
  const std::vector<int> codes = site.Codes();
  EXPECT_EQ(codes.front(), 3);
  EXPECT_EQ(codes.back(), 4);
  EXPECT_EQ(site.window.label, "");
  EXPECT_EQ(site.window.progress, 0);
  EXPECT_FALSE(site.window.busy);
  EXPECT_FALSE(site.window.button1Visible);
}

TEST(InstallRun, AtLevelTwelveTheFirstEighteenStepsAreSkipped) {
  InstallSite site(12);
  EXPECT_EQ(site.Run(), InstallOutcome::Completed);
  const Strings labels = site.Labels();
  ASSERT_GE(labels.size(), 18u);
  EXPECT_EQ(labels[0], " Service Pack 01");
  EXPECT_EQ(labels[8], " Service Pack 06_01_02_03");
  EXPECT_EQ(labels[10], " Service Pack 08_01_02_03_04_05_06_07_08_09");
  EXPECT_EQ(labels[17], " Service Pack 12");
  const std::string tmp = site.demo.paths().ordersTmp1;
  EXPECT_EQ(labels[18], " Удаление файла: " + tmp);
  EXPECT_EQ(site.GaugeAt(labels[18]), 496);
  EXPECT_EQ(labels[19], " Файл " + tmp + " успешно удалён");
  EXPECT_EQ(labels[20], Running("12_1"));
  EXPECT_EQ(labels[21], Running("12_2"));
}

TEST(InstallRun, AtLevelFourTheFollowUpPacksRunBeforeTheNextMainPack) {
  InstallSite site(4);
  EXPECT_EQ(site.Run(), InstallOutcome::Completed);
  const Strings labels = site.Labels();
  EXPECT_EQ(Strings(labels.begin(), labels.begin() + 7),
            (Strings{" Service Pack 01", " Service Pack 02", " Service Pack 03", " Service Pack 04", Running("04_1"),
                     Running("04_2"), Running("05")}));
  EXPECT_EQ(site.GaugeAt(Running("04_1")), 81);
}

TEST(InstallRun, ALevelNoGateMeetsSkipsEveryStep) {
  InstallSite site(7);
  EXPECT_EQ(site.Run(), InstallOutcome::Completed);
  const Strings labels = site.Labels();
  ASSERT_GE(labels.size(), 20u);
  for (size_t i = 0; i < 19; ++i) EXPECT_EQ(labels[i].rfind(" Service Pack ", 0), 0u) << labels[i];
  EXPECT_EQ(labels[19], "");  // the table is done
  EXPECT_EQ(labels[20], " Проверка пакетов программы");
  EXPECT_EQ(labels[21], " Удаление: tonic700.exe");
  EXPECT_EQ(site.GaugeAt(" Удаление: tonic700.exe"), 543);
  EXPECT_NE(std::find(site.window.memo3.begin(), site.window.memo3.end(), "549-549"), site.window.memo3.end());
}

TEST(InstallRun, AFailingPackStopsTheRunWithItsCode) {
  InstallSite site(8);
  test::Exec(site.demo.paths().stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
  EXPECT_EQ(site.Run(), InstallOutcome::PackFailed);
  EXPECT_EQ(site.window.messages, Strings{"Установка невозможна\rКод: sp.08.5"});
  const Strings labels = site.Labels();
  EXPECT_EQ(std::find(labels.begin(), labels.end(), Running("08_6")), labels.end());
  EXPECT_EQ(site.window.memo3, Strings{"Установка обновлений..."});
  EXPECT_EQ(ReadUserSetting(site.registry, "", "ServicePack"), 0);
  EXPECT_EQ(site.Program("kv700_d.exe"), "old kv700_d.exe of build 7.0.11\n");
  EXPECT_EQ(site.window.label, "");
  EXPECT_EQ(site.window.progress, 0);
  EXPECT_EQ(site.Codes(), std::vector<int>{3});  // no code for a failed pack
}

TEST(InstallRun, ALockedTemporaryFileIsReportedAndThePackRunsAnyway) {
  InstallSite site(9, 1, false, {"OrdersTMP.fdb"});
  EXPECT_EQ(site.Run(), InstallOutcome::Completed);
  const std::string tmp = site.demo.paths().ordersTmp1;
  const Strings labels = site.Labels();
  auto at = std::find(labels.begin(), labels.end(), " Файл " + tmp + " НЕ удалён");
  ASSERT_NE(at, labels.end());
  EXPECT_EQ(*(at + 1), Running("09_1"));
  const auto& e = site.window.events;
  auto shown = std::find(e.begin(), e.end(), "label:  Файл " + tmp + " НЕ удалён");
  EXPECT_EQ(*(shown + 1), "pause: 1000");
}

TEST(InstallRun, ABusyProgramFileLeavesTheUpdateUninstalled) {
  InstallSite site(12, 1, false, {"tonic700.exe"});
  EXPECT_EQ(site.Run(), InstallOutcome::FilesNotReplaced);
  EXPECT_EQ(site.window.messages,
            (Strings{"Error 12_101", "Error 12_102", "Error 12_103", "Error 12_105", "Error 12_106", "Error 12_107"}));
  EXPECT_EQ(Strings(site.window.memo3.end() - 4, site.window.memo3.end()),
            (Strings{"Обновление не установлено", "", "Перезагрузите компьютер",
                     "Попробуйте еще раз установить обновления"}));
  EXPECT_EQ(ReadUserSetting(site.registry, "", "ServicePack"), 0);
  const std::vector<int> codes = site.Codes();
  EXPECT_EQ(Strings(1, std::to_string(codes[codes.size() - 2]) + "," + std::to_string(codes.back())), Strings{"5,4"});
}

TEST(InstallRun, ANumberedInstallationUpgradesOnlyItsDatabases) {
  InstallSite site(12, 8, true);
  EXPECT_EQ(site.Run(), InstallOutcome::NumberedFinished);
  ASSERT_EQ(site.window.messages.size(), 1u);
  EXPECT_EQ(site.window.messages[0].rfind("Всё ОК", 0), 0u);
  EXPECT_TRUE(site.window.closed);
  EXPECT_EQ(site.Program("kv700_d.exe"), "old kv700_d.exe of build 7.0.11\n");
  EXPECT_EQ(ReadUserSetting(site.registry, "", "ServicePack"), 0);
  EXPECT_EQ(site.Codes(), std::vector<int>{3});  // no 4
  EXPECT_EQ(site.window.progress, 0);
}

TEST(InstallRun, AnUnexpectedErrorIsLoggedAs98) {
  InstallSite site(12);
  // The registry store turns unwritable: the registration step fails.
  test::WriteFile(site.demo.demo.registryPath, "garbage\n");
  EXPECT_EQ(site.Run(), InstallOutcome::UnexpectedError);
  EXPECT_TRUE(site.window.messages.empty());
  EXPECT_EQ(site.Codes().back(), 98);
  EXPECT_EQ(site.window.label, "");
  EXPECT_FALSE(site.window.busy);
}

// The backup before the first pack and the restore after a failed one.
TEST(InstallRun, AFailedPackOffersTheBackupAndTheRestoreTakesEverythingBack) {
  InstallSite site(0);
  site.safety = {};  // backup on; the window asks
  test::Exec(site.demo.paths().stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
  const std::string before = site.demo.Contents();
  site.window.answers = {true};  // restore
  EXPECT_EQ(site.Run(), InstallOutcome::PackFailed);
  EXPECT_EQ(site.window.messages, Strings{"Установка невозможна\rКод: sp.08.5"});
  const Strings questions = site.window.EventsStartingWith("question: ");
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].rfind("question: Восстановить все базы данных из резервной копии", 0), 0u);
  const std::string backup = BackupRoot(site.demo.installation().folders);
  EXPECT_EQ(site.window.memo3.back().rfind("Базы данных восстановлены из резервной копии: " + backup, 0), 0u)
      << site.window.memo3.back();
  EXPECT_EQ(site.demo.Contents(), before) << "schema, rows or level differ from before the run";
  EXPECT_EQ(ReadUserSetting(site.registry, "", "ServicePack"), 0);
  // While a database is backed up, checked and restored, the label names what the service copies or builds.
  for (const char* doing : {"label:  Резервная копия: Base.fdb: таблица ", "label:  Проверка резервной копии: Base.fdb: ",
                            "label:  Восстановление: Base.fdb: "})
    EXPECT_TRUE(std::any_of(site.window.events.begin(), site.window.events.end(),
                            [&](const std::string& e) { return e.rfind(doing, 0) == 0; }))
        << doing;
  EXPECT_EQ(site.Program("kv700_d.exe"), "old kv700_d.exe of build 7.0.11\n");

  // Declined: the databases stay where the failed run left them, and the page says where the backup is.
  site.window.answers = {false};
  site.window.memo3.clear();
  EXPECT_EQ(site.Run(), InstallOutcome::PackFailed);
  EXPECT_NE(site.demo.Contents(), before);
  EXPECT_EQ(site.window.memo3.back().rfind("Базы данных можно восстановить из резервной копии: " + backup, 0), 0u);

  // No room beside the Base folder's databases for their restored copies: they are left, named, and the rest restored.
  const std::string baseFolder = FolderOf(site.demo.paths().base);
  site.safety.freeBytes = [&](const std::string& folder) -> std::uintmax_t {
    return WithTrailingSep(folder) == baseFolder ? 4096 : std::uintmax_t(1) << 40;
  };
  site.window.answers = {true};
  site.window.messages.clear();
  site.window.memo3.clear();
  EXPECT_EQ(site.Run(), InstallOutcome::PackFailed);
  ASSERT_EQ(site.window.messages.size(), 2u);
  EXPECT_EQ(site.window.messages[1].rfind("Не все базы данных восстановлены из резервной копии " + backup, 0), 0u);
  EXPECT_NE(site.window.messages[1].find(site.demo.paths().base + ": недостаточно места"), std::string::npos)
      << site.window.messages[1];
  const Strings& memo = site.window.memo3;
  EXPECT_NE(std::find_if(memo.begin(), memo.end(), [&](const std::string& line) {
              return line.rfind("НЕ восстановлена, оставлена как была: " + site.demo.paths().system + ": ", 0) == 0;
            }), memo.end());
  EXPECT_NE(std::find(memo.begin(), memo.end(), "Восстановлена: " + site.demo.paths().price), memo.end());
  EXPECT_EQ(memo.back().rfind("Базы данных восстановлены не все; резервная копия: " + backup, 0), 0u) << memo.back();
}

TEST(InstallRun, NoRoomForTheBackupOrATableAtItsFormatLimitStopsBeforeTheFirstPack) {
  InstallSite site(0);
  site.safety = {};
  site.safety.freeBytes = [](const std::string&) -> std::uintmax_t { return 4096; };
  const std::string before = site.demo.Contents();
  EXPECT_EQ(site.Run(), InstallOutcome::NotStarted);
  ASSERT_EQ(site.window.messages.size(), 1u);
  EXPECT_EQ(site.window.messages[0].rfind("Недостаточно места для резервной копии баз данных", 0), 0u);
  EXPECT_EQ(site.demo.Contents(), before);
  EXPECT_FALSE(std::filesystem::exists(BackupRoot(site.demo.installation().folders)) &&
               !std::filesystem::is_empty(BackupRoot(site.demo.installation().folders)));

  // A file-system error while the backup is made is the backup's too: the run does not start.
  site.safety.freeBytes = [](const std::string& folder) -> std::uintmax_t {
    throw std::filesystem::filesystem_error("space", folder, std::make_error_code(std::errc::io_error));
  };
  site.window.messages.clear();
  EXPECT_EQ(site.Run(), InstallOutcome::NotStarted);
  ASSERT_EQ(site.window.messages.size(), 1u);
  EXPECT_EQ(site.window.messages[0].rfind("Не удалось сделать резервную копию баз данных", 0), 0u)
      << site.window.messages[0];
  EXPECT_EQ(site.demo.Contents(), before);

  std::vector<std::string> churn;
  for (int i = 0; i < 125; ++i) {
    churn.push_back("ALTER TABLE k_Razdel ADD Churn INTEGER");
    churn.push_back("ALTER TABLE k_Razdel DROP Churn");
  }
  test::Exec(site.demo.paths().orders, churn);
  site.safety.freeBytes = nullptr;
  site.window.messages.clear();
  const std::string churned = site.demo.Contents();
  EXPECT_EQ(site.Run(), InstallOutcome::NotStarted);
  ASSERT_EQ(site.window.messages.size(), 1u);
  EXPECT_NE(site.window.messages[0].find("Таблица K_RAZDEL базы данных " + site.demo.paths().orders),
            std::string::npos);
  EXPECT_EQ(site.demo.Contents(), churned);
  EXPECT_EQ(ReadUserSetting(site.registry, "", "ServicePack"), 0);
}

}  // namespace
}  // namespace kv
