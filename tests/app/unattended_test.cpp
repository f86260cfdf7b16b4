// The program itself, run unattended on demo installations: exit statuses,
// what it prints, and what it leaves behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "platform/own_executable.h"
#include "platform/posix/reg_file_registry.h"
#include "platform/text_codec.h"
#include "startup/install_registry.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/inflated_package.h"
#include "support/program_run.h"

namespace kv {
namespace {

test::ProgramRun Unattended(const test::DemoFixture& f, const std::string& registry, const std::string& extra = "") {
  return test::RunProgram(KV_UPGRADE_EXE, f, registry, "--unattended " + extra);
}

/* The bytes the wizard carries for a resource, inflated. */
std::string Carried(const std::string& type, const std::string& name) {
  auto exe = OpenBundledExecutable(KV_UPGRADE_EXE);
  return test::Inflated(*exe->OpenResource(type, name));
}

TEST(Unattended, UpgradesADemoInstallationThenOffersTheReinstall) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  test::ProgramRun first = Unattended(f, f.demo.registryPath);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_TRUE(first.Printed("Новая сборка: \t7.12.0"));
  EXPECT_TRUE(first.Printed("> Установка Service Pack 12_2"));
  EXPECT_TRUE(first.Printed("Обновление версии 7.00 успешно завершено"));
  EXPECT_EQ(first.err, "");
  // It ran from the installation's version folder, as a copy of itself.
  EXPECT_TRUE(std::filesystem::exists(inst.folders.version + "kvupgrade"));

  RegFileRegistry registry(f.demo.registryPath);
  EXPECT_EQ(ReadUserSetting(registry, "", "ServicePack"), 12);
  EXPECT_EQ(ReadUserSetting(registry, "", "Build"), 0);
  EXPECT_EQ(test::ReadFile(inst.folders.program + "kv700_d.exe"), Carried("EXE", "KV7D"));
  EXPECT_EQ(test::ReadFile(inst.folders.program + "tonic700.exe"), Carried("EXE", "TONIC7"));
  EXPECT_EQ(test::ReadFile(inst.folders.program + "kv5.bpl"), Carried("BPL", "BPL5"));
  const std::string log = AnsiToUtf8(test::ReadFile(inst.folders.registerLog));
  for (const char* code : {" 000: *", "upgrade 7.10 d 003: *", "upgrade 7.10 d 502: *", "upgrade 7.10 d 004: *",
                           "Закрытие программы upgrade 7.10 d 009: *"})
    EXPECT_NE(log.find(code), std::string::npos) << code;
  for (const std::string& db : {inst.databases.base, inst.databases.orders, inst.databases.system})
    EXPECT_EQ(test::QueryValue(db, "SELECT Version || '/' || ServicePack || '/' || Build FROM kv_Setting"), "700/12/0");

  test::ProgramRun second = Unattended(f, f.demo.registryPath);
  EXPECT_EQ(second.status, 0) << second.err;
  EXPECT_TRUE(second.Printed("У Вас установлены последние обновления"));
  EXPECT_TRUE(second.Printed("> Service Pack 12"));  // skipped
  EXPECT_TRUE(second.Printed("> Установка Service Pack 12_1"));
}

TEST(Unattended, ExitStatusesTellWhatStoppedTheRun) {
  test::DemoFixture f(8);
  // No installation in the registry: the start is refused.
  test::ProgramRun refused = Unattended(f, f.dir / "nothing.reg");
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "Не установлена программа Duvar0\n");

  // A newer build recorded for the user: blocked.
  RegFileRegistry registry(f.demo.registryPath);
  WriteUserSetting(registry, "", "ServicePack", 13);
  test::ProgramRun blocked = Unattended(f, f.demo.registryPath);
  EXPECT_EQ(blocked.status, 3);
  EXPECT_TRUE(blocked.Printed("Вы не можете вернуться к старой версии"));

  // A pack that falls short.
  WriteUserSetting(registry, "", "ServicePack", 0);
  test::Exec(f.paths().stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
  test::ProgramRun failed = Unattended(f, f.demo.registryPath);
  EXPECT_EQ(failed.status, 4);
  // The reason comes first, with the database, the engine's words and the statement; then the pack's message.
  EXPECT_EQ(failed.err,
            "kvupgrade: Ошибка: " + f.paths().stockMan +
                ": unsuccessful metadata update\n  ALTER TABLE STOCKMAN failed\n  Column NUMBERSTOCK from table "
                "STOCKMAN is referenced in view V_STOCK\n  оператор: ALTER TABLE StockMan DROP NumberStock\n"
                "Установка невозможна\nКод: sp.08.5\n");

  // A malformed registry file is named with its line.
  test::WriteFile(f.dir / "bad.reg", "Windows Registry Editor Version 5.00\nnonsense\n");
  test::ProgramRun malformed = Unattended(f, f.dir / "bad.reg");
  EXPECT_EQ(malformed.status, 1);
  EXPECT_NE(malformed.err.find("line 2"), std::string::npos) << malformed.err;
}

TEST(Unattended, ACutOwnFileIsNamedDamagedAndChangesNothing) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  std::string bytes = test::ReadFile(KV_UPGRADE_EXE);
  bytes.resize(bytes.size() - 10);
  const std::string cut = inst.folders.version + "kvupgrade";
  std::filesystem::create_directories(inst.folders.version);
  test::WriteFile(cut, bytes);
  std::filesystem::permissions(cut, std::filesystem::perms::owner_all);
  const std::string out = f.dir / "out.txt";
  const int raw = std::system(("KV_REGISTRY='" + f.demo.registryPath + "' '" + cut + "' --unattended >'" + out +
                               "' 2>&1").c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 8);
  EXPECT_NE(test::ReadFile(out).find("Файл программы обновления повреждён"), std::string::npos);
  EXPECT_EQ(test::QueryValue(inst.databases.base, "SELECT ServicePack FROM kv_Setting"), "0");
}

}  // namespace
}  // namespace kv
