// The command line's installation number.
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

}  // namespace
}  // namespace kv
