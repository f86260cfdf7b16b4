// Database paths, connection lines and the Orders alias of an installation.
#include "startup/database_paths.h"

#include <gtest/gtest.h>

#include "platform/text_codec.h"
#include "startup/register_log.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

using test::TempDir;
using test::WriteFile;

struct PathsFixture {
  TempDir dir;
  test::FixedClock clock;
  test::RecordingDialog dialog;
  RegisterLog log{{kApplicationTitle, "/p", dir / "Info/", dir / "Info/log"}, RealFileSystem(), clock, dialog};
  InstallFolders folders = DeriveFolders(dir / "prog", dir / "base", 2026);
};

TEST(DatabasePaths, PathsAndConnectionLinesFollowTheDataFolderAndN) {
  PathsFixture f;
  auto loc = SetDatabasePaths(f.folders, {1, false}, f.log);
  ASSERT_TRUE(loc);
  const std::string data = f.dir / "base/Kven700/";
  EXPECT_EQ(loc->paths.base, data + "Base/Base.fdb");
  EXPECT_EQ(loc->paths.config, data + "Base/Config.fdb");
  EXPECT_EQ(loc->paths.optima, data + "Base/Optima.fdb");
  EXPECT_EQ(loc->paths.system, data + "Base/System.fdb");
  EXPECT_EQ(loc->paths.orders, data + "Orders/Orders.fdb");
  EXPECT_EQ(loc->paths.director, data + "Director/Director.fdb");
  EXPECT_EQ(loc->paths.price, data + "Director/Price.fdb");
  EXPECT_EQ(loc->paths.stockMan, data + "StockMan/StockMan.fdb");
  EXPECT_EQ(loc->paths.ordersTmp1, data + "Orders/TMP/OrdersTMP.fdb");
  EXPECT_EQ(loc->paths.ordersTmp2, data + "Orders/TMP/OrdersTMP2.fdb");
  EXPECT_EQ(loc->paths.ordersTmp3, data + "Orders/TMP/OrdersTMP3.fdb");
  EXPECT_EQ(loc->paths.serverOrders, "");
  EXPECT_EQ(loc->connection.userLine, "user_name=kv5.1");
  EXPECT_EQ(loc->connection.passwordLine, "password=00000001");
  EXPECT_EQ(loc->connection.ordersAlias, "kvServerOrders_1");
  EXPECT_EQ(loc->connection.iniPath, f.dir / "prog/kv.ini");

  auto numbered = SetDatabasePaths(f.folders, {3, true}, f.log);
  ASSERT_TRUE(numbered);
  EXPECT_EQ(numbered->connection.iniPath, f.dir / "prog/kv_3.ini");
  EXPECT_EQ(numbered->connection.userLine, "user_name=kv5.3");
  EXPECT_EQ(numbered->connection.passwordLine, "password=0000001B");
}

TEST(DatabasePaths, ListsKeepTheirOrderAndLeaveOutWhatIsNotKnownYet) {
  PathsFixture f;
  auto loc = SetDatabasePaths(f.folders, {1, false}, f.log);
  ASSERT_TRUE(loc);
  const DatabasePaths& p = loc->paths;
  // The server's Orders is found only by the install run: no empty line for it.
  EXPECT_EQ(KnownPaths(p, kPackDatabases),
            (std::vector{p.base, p.config, p.orders, p.director, p.price, p.stockMan, p.optima, p.system}));
  EXPECT_EQ(KnownPaths(p, kInstallationDatabases),
            (std::vector{p.base, p.config, p.optima, p.system, p.orders, p.director, p.price, p.stockMan,
                         p.ordersTmp1, p.ordersTmp2, p.ordersTmp3}));
  DatabasePaths found = p;
  found.serverOrders = "server:/db/Orders.fdb";
  EXPECT_EQ(KnownPaths(found, kPackDatabases).at(3), found.serverOrders);
}

TEST(DatabasePaths, PasswordIsTheLow32BitsOfTheCube) {
  EXPECT_EQ(InstallationPassword(1), "00000001");
  EXPECT_EQ(InstallationPassword(255), "00FD02FF");
  EXPECT_EQ(InstallationPassword(2048), "00000000");       // 2^33 wraps to 0
  EXPECT_EQ(InstallationPassword(2147483647), "7FFFFFFF");  // (2^31-1)^3 mod 2^32
}

TEST(DatabasePaths, InvalidInstallationNumberReportsCode113) {
  PathsFixture f;
  RealFileSystem().CreateDirs(f.dir / "Info");
  EXPECT_FALSE(SetDatabasePaths(f.folders, {0, false}, f.log));
  EXPECT_NE(test::ReadFile(f.dir / "Info/log").find(" 113: *"), std::string::npos);
}

TEST(OrdersAlias, LinesMatchByPlainSubstringFirstLineWins) {
  EXPECT_EQ(MatchOrdersAlias("kvServerOrders_12 = D:\\Srv\\Orders12.fdb\nkvServerOrders_1 = D:\\B.fdb\n",
                             "kvServerOrders_1"),
            "D:\\Srv\\Orders12.fdb");
  EXPECT_EQ(MatchOrdersAlias("#kvServerOrders_1 = D:\\Old.fdb\r\nkvServerOrders_1 = D:\\New.fdb\r\n",
                             "kvServerOrders_1"),
            "D:\\Old.fdb");
  EXPECT_EQ(MatchOrdersAlias("KVSERVERORDERS_1 = D:\\A.fdb\n", "kvServerOrders_1"), "");
  EXPECT_EQ(MatchOrdersAlias("kvServerOrders_1=  D:\\Data\\Orders.fdb  \n", "kvServerOrders_1"),
            "D:\\Data\\Orders.fdb");
  EXPECT_EQ(MatchOrdersAlias("kvServerOrders_1 = D:\\A=B.fdb", "kvServerOrders_1"), "D:\\A=B.fdb");
  EXPECT_EQ(MatchOrdersAlias("kvServerOrders_1 D:\\none\n\n\t\nkvServerOrders_1\t=\t/x.fdb\t\r\n", "kvServerOrders_1"),
            "/x.fdb");
  EXPECT_EQ(MatchOrdersAlias("", "kvServerOrders_1"), "");
}

TEST(OrdersAlias, IniAndAliasesFilesAreFoundWithOrWithoutTrailingSeparator) {
  TempDir dir;
  FileSystem& fs = RealFileSystem();
  const std::string ini = dir / "prog/kv.ini";
  EXPECT_EQ(FindOrdersAlias(fs, ini, "kvServerOrders_1"), "");  // no ini file

  WriteFile(dir / "Firebird_2_5/aliases.conf", "# aliases\nkvServerOrders_1 = /srv/Orders.fdb\n");
  for (const std::string& folder : {dir / "Firebird_2_5", dir / "Firebird_2_5/"}) {
    WriteFile(ini, "[Other]\nDirectoryFirebird=/nowhere\n[ server ]\n  directoryfirebird =  " + folder + "  \n");
    EXPECT_EQ(FindOrdersAlias(fs, ini, "kvServerOrders_1"), "/srv/Orders.fdb");
  }

  WriteFile(ini, "[Server]\nDirectoryFirebird=\n");  // empty key
  EXPECT_EQ(FindOrdersAlias(fs, ini, "kvServerOrders_1"), "");
  WriteFile(ini, "[Server]\nDirectoryFirebird=" + (dir / "missing") + "\n");  // no aliases file
  EXPECT_EQ(FindOrdersAlias(fs, ini, "kvServerOrders_1"), "");

  // Windows-1251 files with Cyrillic folder names, as Windows programs write them.
  const std::string cyr = dir / "Сервер";
  WriteFile(cyr + "/aliases.conf", Utf8ToAnsi("kvServerOrders_2 = " + cyr + "/Заказы.fdb\r\n"));
  WriteFile(ini, Utf8ToAnsi("[Server]\r\nDirectoryFirebird=" + cyr + "\r\n"));
  EXPECT_EQ(FindOrdersAlias(fs, ini, "kvServerOrders_2"), cyr + "/Заказы.fdb");
}

TEST(DatabaseNames, ANameOnAServerIsToldFromAFileOfThisComputer) {
  for (const char* remote : {"127.0.0.1/3050:/srv/kv/Orders.fdb", "shop-server:D:\\Srv\\Orders12.fdb",
                             "srv:kvServerOrders_1", "inet://srv/D:/Orders.fdb"})
    EXPECT_TRUE(IsRemoteDatabaseName(remote)) << remote;
  for (const char* local : {"D:\\Srv\\Orders12.fdb", "d:/Orders.fdb", "\\\\srv\\share\\Orders.fdb",
                            "/srv/kv/Orders.fdb", "/srv/a:b/Orders.fdb", "C:\\Квенира 7\\x:y.fdb", "", "Orders.fdb"})
    EXPECT_FALSE(IsRemoteDatabaseName(local)) << local;
}

}  // namespace
}  // namespace kv
