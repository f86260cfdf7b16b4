// kvupgrade.exe under Wine through a private Firebird server on 127.0.0.1
// (scripts/fb-server.sh, started by the tests' fixture). FIREBIRD names a
// client configuration without the embedded engine, for this test and every
// program it starts, so the installation's local names reach the server as a
// workstation's do; the aliases file names the server Orders database by its
// remote name (127.0.0.1/port:path). Another client connected stops the run
// before anything changes, named; once it has gone the run completes.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "platform/text_util.h"
#include "support/fb_test_db.h"
#include "wine_installation.h"
#include "wine_test_support.h"

namespace kv {
namespace {

TEST(WineServer, AnotherClientIsNamedThenTheRunReachesEveryDatabaseThroughTheServer) {
  // On drive Z:, whose paths are the server's as they are (drive C: is a link
  // named "c:", which a remote name cannot hold).
  test::WineInstallation w(test::LinuxDemo("N1"), 1, false, test::WinPath(KV_WINE_SERVER "/installations"));
  const Installation& inst = w.installation();
  const std::string port(TrimControls(RealFileSystem().ReadFile(test::WinPath(KV_WINE_SERVER "/server.port"))));
  ASSERT_FALSE(port.empty());
  const std::string remote = "127.0.0.1/" + port + ":" + test::UnixPath(inst.databases.serverOrders);
  {
    auto aliases = RealFileSystem().OpenForWrite(w.folder() + "firebird\\aliases.conf");
    aliases->Write(Utf8ToAnsi(inst.connection.ordersAlias + " = " + remote + "\r\n"));
    aliases->Close();
  }
  EXPECT_EQ(test::QueryValue(inst.databases.orders, "SELECT MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS "
                                                    "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
            "TCPv4")
      << "local names go through the server";
  const std::string contents = w.Contents();

  {
    test::TestSession other(inst.databases.orders);
    other.Query("SELECT COUNT(*) FROM kv_Setting");
    const test::UpgradeRun refused = test::RunUpgrade({"--unattended", "--no-backup"});
    EXPECT_EQ(refused.status, 11) << refused.out << refused.err;
    EXPECT_NE(refused.err.find(inst.databases.orders + ": 127.0.0.1, программа "), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("win32_server_tests.exe"), std::string::npos) << refused.err;
  }
  EXPECT_EQ(test::FirstDifference(w.Contents(), contents), "") << "nothing changed";

  // The backup is made by the server's service, which cannot reach a
  // database by a remote name: it is named and nothing starts.
  const test::UpgradeRun noBackup = test::RunUpgrade({"--unattended"});
  EXPECT_EQ(noBackup.status, 10) << noBackup.out << noBackup.err;
  EXPECT_NE(noBackup.err.find(remote), std::string::npos) << noBackup.err;
  EXPECT_EQ(test::FirstDifference(w.Contents(), contents), "") << "nothing changed";

  const test::UpgradeRun run = test::RunUpgrade({"--unattended", "--no-backup"});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(run.Printed("Обновление версии 7.00 успешно завершено")) << run.out;
  EXPECT_EQ(test::FirstDifference(
                w.Snapshot(), RealFileSystem().ReadFile(test::WinPath(KV_TEST_DATA_DIR "/catalogue_level12.txt"))),
            "");
  for (const std::string& db : w.Databases()) EXPECT_EQ(w.Level(db), "12/0") << db;
  const std::vector<std::string> runLogs = test::FilesStartingWith(inst.folders.info, "kvupgrade-");
  ASSERT_FALSE(runLogs.empty());
  EXPECT_NE(RealFileSystem().ReadFile(runLogs.back()).find(remote), std::string::npos) << "the remote name was used";
}

}  // namespace
}  // namespace kv
