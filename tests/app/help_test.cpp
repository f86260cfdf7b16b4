// What an administrator types first: --help and --version answer and change
// nothing, a wrong option says where help is, and the README's table of exit
// statuses and its options agree with what the program prints.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "support/demo_fixture.h"
#include "support/program_run.h"

namespace kv {
namespace {

/* The numbers of a "| status | meaning |" table, or of the "  N   meaning"
** lines after "Коды завершения:" in the help. */
std::set<int> Statuses(const std::string& text, const std::regex& row, const std::string& after) {
  std::set<int> out;
  std::istringstream in(text.substr(text.find(after)));
  std::smatch m;
  for (std::string line; std::getline(in, line);)
    if (std::regex_match(line, m, row)) out.insert(std::stoi(m[1]));
  return out;
}

TEST(Help, HelpAndVersionAnswerAndAWrongOptionPointsToHelp) {
  test::DemoFixture f(0);
  const test::ProgramRun help = test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* option : {"--unattended", "--installation N", "--plan", "--restore ПАПКА", "--result-file ФАЙЛ",
                             "--keep-backups N", "--no-backup", "--restore-on-failure", "--show-installation",
                             "--help", "--version"})
    EXPECT_NE(help.out.find("\n  " + std::string(option) + " "), std::string::npos) << option;
  EXPECT_NE(help.out.find("Коды завершения:"), std::string::npos);

  const test::ProgramRun version = test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "\n" KV_PROGRAM_VERSION "\n");
  // Neither started a run: no copy in the version folder, no log.
  EXPECT_FALSE(std::filesystem::exists(f.demo.installation.folders.version + "kvupgrade"));
  EXPECT_FALSE(std::filesystem::exists(f.demo.installation.folders.registerLog));

  const test::ProgramRun wrong = test::RunProgram(KV_UPGRADE_EXE, f, f.demo.registryPath, "--unattended --halp");
  EXPECT_EQ(wrong.status, 64);
  EXPECT_EQ(wrong.err, "kvupgrade: неизвестный параметр \"--halp\"\nСправка о параметрах: kvupgrade --help\n");

  // The README tells an administrator the same statuses and options.
  const std::string readme = test::ReadFile(KV_README);
  const std::set<int> documented = Statuses(readme, std::regex(R"(\| (\d+) \|.*)"), "| status | meaning |");
  const std::set<int> printed = Statuses(help.out, std::regex(R"(  (\d+) +\S.*)"), "Коды завершения:");
  EXPECT_EQ(documented, printed);
  EXPECT_EQ(printed.size(), 13u);
  std::smatch m;
  for (auto it = help.out.cbegin(); std::regex_search(it, help.out.cend(), m, std::regex(R"(\n  (--[a-z-]+))"));
       it = m[0].second)
    EXPECT_NE(readme.find("`" + m[1].str()), std::string::npos) << m[1] << " is not in the README";
}

}  // namespace
}  // namespace kv
