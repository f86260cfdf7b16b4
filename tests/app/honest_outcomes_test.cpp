// No success without upgraded databases: held, damaged and missing databases
// stop the run with their reason, and the detailed run log tells what was done
// up to the last moment, even of a run that was killed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "migration/packs/catalogue.h"
#include "platform/posix/reg_file_registry.h"
#include "startup/install_registry.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/program_run.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

using test::InPlaceProgram;

test::ProgramRun RunInPlace(const test::DemoFixture& f) {
  return test::RunProgram(InPlaceProgram(KV_UPGRADE_EXE, f.demo.installation), f, f.demo.registryPath,
                          "--unattended");
}

std::vector<std::string> Databases(const Installation& inst) {
  return KnownPaths(inst.databases, kPackDatabases);
}

std::string Level(const std::string& db) {
  return test::QueryValue(db, "SELECT ServicePack || '/' || Build FROM kv_Setting");
}

TEST(HonestOutcomes, AHeldOrDamagedDatabaseStopsTheFirstPackUntilItIsFixed) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  const DatabasePaths& p = inst.databases;
  RegFileRegistry registry(f.demo.registryPath);
  const std::string oldProgram = test::ReadFile(inst.folders.program + "kv700_d.exe");

  struct Case {
    const char* what;
    std::string db;
    std::function<void()> spoil, mend;
  };
  std::unique_ptr<test::TestSession> holder;
  const std::string director = test::ReadFile(p.director), price = test::ReadFile(p.price);
  const Case cases[] = {
      {"held by another program", p.orders, [&] { holder = std::make_unique<test::TestSession>(p.orders); },
       [&] { holder.reset(); }},
      {"cut in half", p.director, [&] { test::WriteFile(p.director, director.substr(0, director.size() / 2)); },
       [&] { test::WriteFile(p.director, director); }},
      {"a file of zeros", p.price, [&] { test::WriteFile(p.price, std::string(price.size(), '\0')); },
       [&] { test::WriteFile(p.price, price); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.spoil();
    const test::ProgramRun run = RunInPlace(f);
    c.mend();
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.err.find("База данных не открывается: " + c.db + ": "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Установка невозможна\nКод: sp.01\n"), std::string::npos) << run.err;
    EXPECT_NE(test::ReadFile(test::NewestRunLog(inst)).find("База данных не открывается: " + c.db), std::string::npos);
    EXPECT_EQ(Level(c.db), "0/0") << "the refused database was not touched";
    EXPECT_EQ(ReadUserSetting(registry, "", "ServicePack"), 0);
    EXPECT_EQ(test::ReadFile(inst.folders.program + "kv700_d.exe"), oldProgram);
    // A log name is to the second: the next run must get a log of its own.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  }

  const test::ProgramRun healed = RunInPlace(f);
  ASSERT_EQ(healed.status, 0) << healed.err;
  for (const std::string* db : {&p.base, &p.config, &p.orders, &p.director, &p.price, &p.stockMan, &p.system})
    EXPECT_EQ(Level(*db), "12/0") << *db;
  EXPECT_EQ(ReadUserSetting(registry, "", "ServicePack"), 12);
}

TEST(HonestOutcomes, ADataFolderWithoutDatabasesChangesNothing) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  for (const std::string& db : Databases(inst)) stdfs::remove(db);
  const std::string oldProgram = test::ReadFile(inst.folders.program + "kv700_d.exe");

  const test::ProgramRun run = RunInPlace(f);
  EXPECT_EQ(run.status, 7);
  EXPECT_NE(run.err.find("Не найдено ни одной базы данных установки"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(inst.folders.data), std::string::npos) << run.err;
  EXPECT_FALSE(run.Printed("Обновление версии 7.00 успешно завершено"));
  RegFileRegistry registry(f.demo.registryPath);
  EXPECT_EQ(ReadUserSetting(registry, "", "ServicePack"), 0);
  EXPECT_EQ(test::ReadFile(inst.folders.program + "kv700_d.exe"), oldProgram);
  EXPECT_NE(test::ReadFile(test::NewestRunLog(inst)).find("Статус завершения: 7"), std::string::npos);
}

TEST(RunLog, HoldsEveryPackAndDatabaseAndEndsWhereAKilledRunStopped) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  const std::string program = InPlaceProgram(KV_UPGRADE_EXE, inst);

  // Killed while the pack z_SP_08 works: the process is started by hand so the kill hits it.
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("KV_REGISTRY", f.demo.registryPath.c_str(), 1);
    if (!freopen((f.dir / "killed.out").c_str(), "w", stdout) || !freopen((f.dir / "killed.err").c_str(), "w", stderr))
      _exit(126);
    execl(program.c_str(), program.c_str(), "--unattended", static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string log;
  for (int i = 0; i < 15000; ++i) {
    const std::string path = test::NewestRunLog(inst);
    log = path.empty() ? "" : test::ReadFile(path);
    const auto start = log.find("Пакет z_SP_08: начат");
    if (start != std::string::npos && log.find(": обновлена", start) != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  kill(pid, SIGKILL);
  int raw = 0;
  waitpid(pid, &raw, 0);
  ASSERT_TRUE(WIFSIGNALED(raw)) << "the run ended before the kill";
  log = test::ReadFile(test::NewestRunLog(inst));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), '\n') << "a line was left half-written";
  const std::string tail = log.substr(log.rfind(" Пакет "));
  EXPECT_EQ(tail.find(" Пакет z_SP_08: начат"), 0u) << tail;
  // What the log says was done, was done; at most the database in hand when
  // the kill came is ahead of the log.
  const auto applied = test::AppliedPacks(log);
  int ahead = 0;
  for (const std::string& db : Databases(inst)) {
    const auto it = applied.find(db);
    const bool logged = it != applied.end() && it->second.back() == "z_SP_08";
    const bool raised = Level(db) == "8/0";
    if (logged) {
      EXPECT_TRUE(raised) << db;
    }
    if (raised && !logged) ++ahead;
  }
  EXPECT_LE(ahead, 1);

  // The next run completes, and its log holds every pack and every database.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  const test::ProgramRun rerun = RunInPlace(f);
  ASSERT_EQ(rerun.status, 0) << rerun.err;
  const std::string full = test::ReadFile(test::NewestRunLog(inst));
  for (const packs::Pack* pack : packs::Catalogue()) {
    if (pack->name < "z_SP_08") continue;  // done before the kill
    EXPECT_NE(full.find("Пакет " + std::string(pack->name) + ": завершён"), std::string::npos) << pack->name;
  }
  for (const std::string& db : Databases(inst))
    EXPECT_NE(full.find("  " + db + ": "), std::string::npos) << db;
  for (const char* line : {"Проверка окружения: пройдена", "kv700_d.exe - переписан", "Реестр: ServicePack = 12",
                           "Статус завершения: 0"})
    EXPECT_NE(full.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace kv
