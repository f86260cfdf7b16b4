// The result file a rollout script reads: written when the run ends, however
// it ends, it parses and tells what the run log tells (the exit status, each
// database's levels and outcome, the backup, the log itself); a killed run
// leaves none.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>
#include <set>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "platform/instance_lock.h"
#include "platform/scope_exit.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/program_run.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using nlohmann::json;

/* The program run from the test's folder, so that a relative result path is
** resolved there and not in the version folder the copy runs from. */
test::ProgramRun RunFromTestFolder(const test::DemoFixture& f, const std::string& options) {
  const stdfs::path before = stdfs::current_path();
  stdfs::current_path(f.dir.Path());
  const ScopeExit back([&] { stdfs::current_path(before); });
  return test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, options);
}

json ReadResult(const std::string& path) {
  if (!stdfs::exists(path)) {
    ADD_FAILURE() << "no result file " << path;
    return json::object();
  }
  std::ifstream in(path);
  return json::parse(in);  // throws, and fails the test, when it is not JSON
}

/* The run log's lines about a database: its visits ("  PATH: обновлена,
** уровень 0 -> 1", "  PATH: уровень 12, пропущена", "  PATH: обработана с
** ошибками (1), уровень 8 -> 8") past the path, and its failures ("Ошибка: PATH: ..."). */
struct LogLines {
  std::vector<std::string> visits;
  int errors = 0;
};

LogLines LinesAbout(const std::string& log, const std::string& path) {
  LogLines out;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    const std::string text = line.size() > 9 ? line.substr(9) : "";  // past "HH:MM:SS "
    if (text.rfind("  " + path + ": ", 0) == 0) out.visits.push_back(text.substr(path.size() + 4));
    if (text.rfind("Ошибка: " + path + ": ", 0) == 0) ++out.errors;
  }
  return out;
}

/* The level a visit started from, and the one it left. */
int LevelBefore(const std::string& visit) { return std::stoi(visit.substr(visit.find("уровень ") + 15)); }
int LevelAfter(const std::string& visit) {
  const auto arrow = visit.find(" -> ");
  return arrow == std::string::npos ? LevelBefore(visit) : std::stoi(visit.substr(arrow + 4));
}

std::string LogValue(const std::string& log, const std::string& label) {
  const auto at = log.find(label);
  if (at == std::string::npos) return "";
  const auto from = at + label.size();
  return log.substr(from, log.find('\n', from) - from);
}

std::string LevelOf(const std::string& db) {
  return test::QueryValue(db, "SELECT ServicePack FROM kv_Setting");
}

/* Checks what the result says against the run log and the databases themselves. */
void ExpectResultMatchesRunLog(const json& r, const Installation& inst, int status) {
  EXPECT_EQ(r["exit_status"], status);
  EXPECT_FALSE(r["meaning"].get<std::string>().empty());
  EXPECT_EQ(r["version"], KV_PROGRAM_VERSION);
  EXPECT_EQ(r["installation"]["number"], inst.params.number);
  EXPECT_EQ(r["installation"]["numbered"], inst.params.numbered);
  EXPECT_EQ(r["installation"]["program_folder"], inst.folders.program);
  EXPECT_EQ(r["installation"]["base_folder"], inst.folders.base);

  const std::string logPath = test::NewestRunLog(inst);
  ASSERT_EQ(r["run_log"], logPath);
  const std::string log = test::ReadFile(logPath);
  EXPECT_EQ(LogValue(log, "Статус завершения: "), std::to_string(status));

  std::set<std::string> listed;
  for (const json& d : r["databases"]) {
    const std::string path = d["path"], outcome = d["outcome"];
    SCOPED_TRACE(path);
    listed.insert(path);
    const LogLines lines = LinesAbout(log, path);
    EXPECT_EQ(d["failed_statements"], lines.errors);
    if (lines.visits.empty()) {
      EXPECT_TRUE(d["level_before"].is_null());
      if (outcome != "restored") {
        EXPECT_EQ(outcome, lines.errors ? "failed" : "not_visited");
      }
      continue;
    }
    EXPECT_EQ(d["level_before"], LevelBefore(lines.visits.front()));
    EXPECT_EQ(std::to_string(d["level_after"].get<int>()), LevelOf(path)) << "the level the database holds";
    if (outcome == "restored") continue;
    EXPECT_EQ(d["level_after"], LevelAfter(lines.visits.back()));
    const bool upgraded = std::any_of(lines.visits.begin(), lines.visits.end(),
                                      [](const std::string& v) { return v.rfind("обновлена", 0) == 0; });
    EXPECT_EQ(outcome, lines.errors ? "failed" : upgraded ? "upgraded" : "unchanged");
  }
  for (std::size_t at = 0; (at = log.find("База данных: ", at)) != std::string::npos; ++at)
    EXPECT_TRUE(listed.count(LogValue(log.substr(at), "База данных: "))) << "a database the run log names";

  // Start and end as the log has them, to the second (the log's start is taken a moment later).
  const std::string start = LogValue(log, "Начало: ");  // dd.MM.yyyy HH:mm:ss
  ASSERT_EQ(start.size(), 19u) << log;
  const std::string iso = start.substr(6, 4) + "-" + start.substr(3, 2) + "-" + start.substr(0, 2) + "T" +
                          start.substr(11);
  EXPECT_LE(r["start"].get<std::string>(), iso);
  EXPECT_GE(r["end"].get<std::string>(), iso);
  EXPECT_GE(r["duration_seconds"].get<double>(), 0.0);
}

TEST(ResultFile, ASuccessfulRunIsReportedAsItsRunLogTellsIt) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  // A result file of an earlier run is replaced, not left for a script to misread.
  test::WriteFile(f.dir / "result.json", "{\"exit_status\": 0, \"stale\": true}");
  const test::ProgramRun run = RunFromTestFolder(f, "--unattended --result-file result.json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json r = ReadResult(f.dir / "result.json");
  EXPECT_FALSE(r.contains("stale"));
  EXPECT_FALSE(stdfs::exists(f.dir / "result.json.part"));
  ExpectResultMatchesRunLog(r, inst, 0);

  int upgraded = 0;
  for (const json& d : r["databases"]) {
    if (d["outcome"] != "upgraded") continue;
    ++upgraded;
    EXPECT_EQ(d["level_after"], 12) << d;
  }
  EXPECT_GE(upgraded, 7);
  const std::string backup = r["backup_folder"];
  EXPECT_TRUE(stdfs::exists(backup + "manifest.txt")) << backup;
  EXPECT_NE(test::ReadFile(r["run_log"]).find("Резервная копия баз данных: " + backup), std::string::npos);
}

TEST(ResultFile, AFailedPackNamesTheDatabaseAndARestoreTheLevelsItPutBack) {
  test::DemoFixture f(8);
  const Installation& inst = f.demo.installation;
  test::Exec(f.paths().stockMan, {"CREATE VIEW v_stock AS SELECT NumberStock FROM StockMan"});
  const std::string result = f.dir / "failed.json";

  const test::ProgramRun failed = RunFromTestFolder(f, "--unattended --no-backup --result-file failed.json");
  ASSERT_EQ(failed.status, 4) << failed.err;
  json r = ReadResult(result);
  ExpectResultMatchesRunLog(r, inst, 4);
  EXPECT_TRUE(r["backup_folder"].is_null());
  bool stockMan = false;
  for (const json& d : r["databases"])
    if (d["path"] == f.paths().stockMan) {
      stockMan = true;
      EXPECT_EQ(d["outcome"], "failed");
      EXPECT_GE(d["failed_statements"], 1);
    }
  EXPECT_TRUE(stockMan) << r.dump(2);

  // Restored from the backup: each database stands where it stood, and the result says so.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // a run log of its own
  const test::ProgramRun restored = RunFromTestFolder(f, "--unattended --restore-on-failure --result-file failed.json");
  ASSERT_EQ(restored.status, 4) << restored.err;
  r = ReadResult(result);
  ExpectResultMatchesRunLog(r, inst, 4);
  int putBack = 0;
  for (const json& d : r["databases"]) {
    if (d["outcome"] != "restored") continue;
    ++putBack;
    EXPECT_EQ(d["level_after"], d["level_before"]) << d;
  }
  EXPECT_GE(putBack, 1) << r.dump(2);
  EXPECT_NE(test::ReadFile(r["run_log"]).find("Базы данных восстановлены из резервной копии: " +
                                              r["backup_folder"].get<std::string>()),
            std::string::npos);
}

TEST(ResultFile, ARefusedStartOrAWrongCommandLineStillEndsWithOne) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  {
    const std::unique_ptr<InstanceLock> first = test::HoldWizardLock(inst);
    ASSERT_TRUE(first);
    const test::ProgramRun second = RunFromTestFolder(f, "--unattended --installation 1 --result-file refused.json");
    ASSERT_EQ(second.status, 2) << second.err;
  }
  const json r = ReadResult(f.dir / "refused.json");
  EXPECT_EQ(r["exit_status"], 2);
  EXPECT_NE(r["meaning"].get<std::string>().find("запуск отклонён"), std::string::npos) << r["meaning"];
  EXPECT_EQ(r["installation"]["number"], 1);
  EXPECT_EQ(r["installation"]["numbered"], true);
  // Refused before the run log was opened: none is named, and none was written.
  EXPECT_TRUE(r["run_log"].is_null());
  EXPECT_EQ(test::NewestRunLog(inst), "");
  EXPECT_TRUE(r["databases"].empty());
  EXPECT_EQ(LevelOf(inst.databases.base), "0");

  const test::ProgramRun wrong = RunFromTestFolder(f, "--unattended --frobnicate --result-file wrong.json");
  EXPECT_EQ(wrong.status, 64);
  EXPECT_EQ(ReadResult(f.dir / "wrong.json")["exit_status"], 64);
  const test::ProgramRun nowhere = RunFromTestFolder(f, "--unattended --result-file no/such/folder/r.json");
  EXPECT_EQ(nowhere.status, 64) << "told at once, not after a run it could not report";
  EXPECT_NE(nowhere.err.find("no/such/folder"), std::string::npos) << nowhere.err;
  EXPECT_EQ(test::NewestRunLog(inst), "");
}

TEST(ResultFile, AKilledRunLeavesNoneNotEvenAnEarlierOne) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  const std::string program = inst.folders.version + "kvupgrade";
  stdfs::create_directories(inst.folders.version);
  stdfs::copy_file(KV_UPGRADE_EXE, program);
  const std::string result = f.dir / "result.json";
  test::WriteFile(result, "{\"exit_status\": 0}");

  const pid_t pid = fork();
  if (pid == 0) {
    setenv("KV_REGISTRY", f.demo.registryPath.c_str(), 1);
    if (!freopen((f.dir / "killed.out").c_str(), "w", stdout) || !freopen((f.dir / "killed.err").c_str(), "w", stderr))
      _exit(126);
    execl(program.c_str(), program.c_str(), "--unattended", "--no-backup", "--result-file", result.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 15000; ++i) {
    const std::string log = test::NewestRunLog(inst);
    if (!log.empty() && test::ReadFile(log).find(": обновлена") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  kill(pid, SIGKILL);
  int raw = 0;
  waitpid(pid, &raw, 0);
  ASSERT_TRUE(WIFSIGNALED(raw)) << "the run ended before the kill";
  EXPECT_FALSE(stdfs::exists(result)) << "the earlier run's result would pass for this one's";
  EXPECT_FALSE(stdfs::exists(result + ".part"));
}

}  // namespace
}  // namespace kv
