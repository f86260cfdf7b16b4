// kvupgrade --plan: what it says a run would do is what the next run does,
// and it changes no byte of the installation.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/program_run.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using PackMap = std::map<std::string, std::vector<std::string>>;

/* Every file under folder with its bytes. */
std::map<std::string, std::string> Contents(const std::string& folder) {
  std::map<std::string, std::string> out;
  for (const auto& e : stdfs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) out[e.path().string()] = test::ReadFile(e.path().string());
  return out;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

/* The packs the plan lists per database (databases with none left out). */
PackMap PlannedPacks(const std::string& plan) {
  PackMap planned;
  std::istringstream in(plan);
  std::string db;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("  /", 0) == 0) db = line.substr(2);
    if (line.rfind("    пакеты:", 0) == 0 && line != "    пакеты: нет")
      planned[db] = Words(line.substr(std::string("    пакеты:").size()));
  }
  return planned;
}

TEST(RunPlan, SaysWhatTheNextRunDoesAndChangesNothing) {
  for (int level : {0, 8, 12}) {
    SCOPED_TRACE("level " + std::to_string(level));
    test::DemoFixture f(level);
    const std::string root = f.dir.Path();
    stdfs::remove(f.dir / "out.txt");
    const auto before = Contents(root);

    const test::ProgramRun plan = test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--plan");
    ASSERT_EQ(plan.status, 0) << plan.out << plan.err;
    stdfs::remove(f.dir / "out.txt");
    stdfs::remove(f.dir / "err.txt");
    EXPECT_TRUE(Contents(root) == before) << "the plan changed a file of the installation";
    EXPECT_TRUE(plan.Printed("Рабочий уровень: " + std::to_string(level)));
    EXPECT_TRUE(plan.Printed("Итог: обновление может быть выполнено"));

    const test::ProgramRun run = test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--unattended");
    ASSERT_EQ(run.status, 0) << run.err;
    const PackMap planned = PlannedPacks(plan.out), done = test::AppliedPacks(test::ReadFile(test::NewestRunLog(f.installation())));
    EXPECT_FALSE(planned.empty());
    EXPECT_EQ(planned, done);
  }
}

TEST(RunPlan, NamesADatabaseARunCouldNotOpen) {
  test::DemoFixture f(8);
  test::TestSession holder(f.paths().orders);
  const test::ProgramRun plan = test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--plan");
  EXPECT_EQ(plan.status, 9);
  EXPECT_NE(plan.out.find(f.paths().orders + "\n    НЕ открывается: "), std::string::npos) << plan.out;
  EXPECT_TRUE(plan.Printed("Итог: обновление остановится на пакете z_SP_08_1: не все базы данных открываются"))
      << plan.out;
}

}  // namespace
}  // namespace kv
