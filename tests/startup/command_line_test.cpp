// The command line: the installation number, the options the relaunched copy
// gets, and the list --help prints.
#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(CommandLine, InstallationNumberMarksTheInstallationNumbered) {
  std::string error;
  auto plain = ParseCommandLine({}, error);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->installation.number, 1);
  EXPECT_FALSE(plain->installation.numbered);
  EXPECT_TRUE(InstallationArguments(*plain).empty());

  auto numbered = ParseCommandLine({"--unattended", "--installation", "8"}, error);
  ASSERT_TRUE(numbered);
  EXPECT_EQ(numbered->installation.number, 8);
  EXPECT_TRUE(numbered->installation.numbered);
  EXPECT_TRUE(numbered->unattended);
  EXPECT_EQ(InstallationArguments(*numbered), (std::vector<std::string>{"--installation", "8", "--unattended"}));

  for (auto bad : {std::vector<std::string>{"--installation"}, {"--installation", "0"}, {"--installation", "x1"},
                   {"--installation", "99999999999"}, {"--frobnicate"}}) {
    EXPECT_FALSE(ParseCommandLine(bad, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(CommandLine, TheBackupOptionsReachTheRelaunchedCopy) {
  std::string error;
  auto cl = ParseCommandLine({"--unattended", "--no-backup", "--keep-backups", "5", "--restore-on-failure"}, error);
  ASSERT_TRUE(cl) << error;
  EXPECT_FALSE(cl->backup);
  EXPECT_EQ(cl->keepBackups, 5);
  EXPECT_TRUE(cl->restoreOnFailure);
  // Without them the copy would back up and keep three folders: not what was asked.
  EXPECT_EQ(InstallationArguments(*cl),
            (std::vector<std::string>{"--unattended", "--no-backup", "--keep-backups", "5", "--restore-on-failure"}));

  auto restore = ParseCommandLine({"--restore", "/b/20261208-100509"}, error);
  ASSERT_TRUE(restore);
  EXPECT_EQ(restore->restoreFolder, "/b/20261208-100509");
  for (auto bad : {std::vector<std::string>{"--keep-backups", "0"}, {"--keep-backups"}, {"--restore"}}) {
    EXPECT_FALSE(ParseCommandLine(bad, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(CommandLine, TheResultFileReachesTheCopyAndEveryListedOptionParses) {
  std::string error;
  auto cl = ParseCommandLine({"--unattended", "--result-file", "/srv/итог.json"}, error);
  ASSERT_TRUE(cl) << error;
  EXPECT_EQ(cl->resultFile, "/srv/итог.json");
  // The copy in the version folder runs the wizard and writes the file: without it a script would get nothing.
  EXPECT_EQ(InstallationArguments(*cl), (std::vector<std::string>{"--unattended", "--result-file", "/srv/итог.json"}));
  EXPECT_FALSE(ParseCommandLine({"--result-file"}, error));
  EXPECT_NE(error.find("--result-file"), std::string::npos) << error;
  // A refused command line still tells where its result goes.
  EXPECT_EQ(ResultFileArgument({"--bogus", "--result-file", "r.json"}), "r.json");
  EXPECT_EQ(ResultFileArgument({"--bogus", "--result-file"}), "");

  // --help lists exactly what the parser takes: each option, with a value where it needs one.
  for (const OptionHelp& o : OptionsHelp()) {
    std::vector<std::string> args{std::string(o.name)};
    if (!o.value.empty()) args.push_back("7");
    EXPECT_TRUE(ParseCommandLine(args, error)) << o.name << ": " << error;
    if (!o.value.empty()) {
      EXPECT_FALSE(ParseCommandLine({std::string(o.name)}, error)) << o.name;
    }
    EXPECT_FALSE(o.meaning.empty()) << o.name;
  }
  auto help = ParseCommandLine({"--help"}, error);
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->help);
  EXPECT_TRUE(ParseCommandLine({"--version"}, error)->version);
}

}  // namespace
}  // namespace kv
