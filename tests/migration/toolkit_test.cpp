// The schema toolkit operations against real databases.
#include <gtest/gtest.h>

#include <cstdlib>

#include "migration/context.h"
#include "migration/toolkit.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

using test::Columns;
using test::CreateTestDatabase;
using test::Exec;
using test::GeneratorValue;
using test::HasGenerator;
using test::HasTable;
using test::MigrationHarness;
using test::QueryValue;
using test::TriggerSource;
using Strings = std::vector<std::string>;

/* One database with a context connected to it. */
struct Toolkit {
  explicit Toolkit(const Strings& setup, bool numbered = false) : h(1, numbered), path(h.Db("t.fdb")) {
    CreateTestDatabase(path, setup);
    dm = h.NewContext();
    EXPECT_TRUE(dm->OpenDataBase(path));
  }
  int Steps() const { return h.progress.KolvoOperation(); }
  /* Runs Firebird-side checks on a fresh attachment: ours is closed first. */
  void Reopen() {
    dm->CloseDataBase();
    EXPECT_TRUE(dm->OpenDataBase(path));
  }

  MigrationHarness h;
  std::string path;
  std::unique_ptr<TDM1> dm;
};

TEST(Toolkit, ExistenceTests) {
  Toolkit t({"CREATE TABLE de (kodTemp INT)"});
  EXPECT_TRUE(t.dm->bbTableControl("De"));
  EXPECT_TRUE(t.dm->bbColumnControl("de", "KODTEMP"));
  EXPECT_FALSE(t.dm->bbColumnControl("de", "kodTemp2"));
  EXPECT_FALSE(t.dm->bbTableControl("nothing"));
  EXPECT_EQ(t.Steps(), 0);
}

TEST(Toolkit, TableAddCreatesTheTableWithItsKeyGeneratorSet) {
  Toolkit t({"CREATE TABLE existing (a INT)"});
  t.dm->aaTableAdd("existing", "x INT", "x", 0);  // nothing to do
  EXPECT_EQ(Columns(t.path, "existing"), Strings{"A INTEGER"});
  t.dm->aaTableAdd("stanok_work", "KodWork INT, Vid SmallInt, NameWork VARCHAR(255)", "KodWork", 0);
  t.dm->aaTableAdd("plain", "n INT, txt VARCHAR(10)", "", 0);
  t.dm->aaTableAdd("broken", "n NOSUCHTYPE", "n", 0);  // refused: no step
  EXPECT_EQ(t.Steps(), 3);
  EXPECT_TRUE(t.h.dialog.messages.empty());

  t.Reopen();
  EXPECT_EQ(Columns(t.path, "STANOK_WORK"), (Strings{"KODWORK INTEGER", "VID SMALLINT", "NAMEWORK VARCHAR(255)"}));
  EXPECT_EQ(GeneratorValue(t.path, "GEN_STANOK_WORK"), 0);
  EXPECT_EQ(TriggerSource(t.path, "BI_STANOK_WORK"),
            "AS\r\nBEGIN\r\nIF (NEW.KODWORK IS NULL) THEN NEW.KODWORK = GEN_ID(GEN_STANOK_WORK,1);\r\nEND");
  Exec(t.path, {"INSERT INTO stanok_work (Vid, NameWork) VALUES (1, 'Резка')"});
  EXPECT_EQ(QueryValue(t.path, "SELECT KodWork FROM stanok_work"), "1");
  EXPECT_EQ(QueryValue(t.path, "SELECT NameWork FROM stanok_work"), "Резка");
  EXPECT_TRUE(HasTable(t.path, "plain"));
  EXPECT_FALSE(HasGenerator(t.path, "GEN_PLAIN"));
  EXPECT_FALSE(HasTable(t.path, "broken"));
}

TEST(Toolkit, TableAddKeepsTheTableWhenItsGeneratorSetFails) {
  // A generator of that name exists already: the set fails, the table stays.
  Toolkit t({"CREATE GENERATOR GEN_T2"}, true);
  t.dm->aaTableAdd("t2", "id INT", "id", 5);
  EXPECT_EQ(t.Steps(), 0);
  ASSERT_EQ(t.h.dialog.messages.size(), 1u);
  EXPECT_EQ(t.h.dialog.messages[0], t.path + "\r\rCREATE GENERATOR GEN_T2\r\n");
  t.Reopen();
  EXPECT_TRUE(HasTable(t.path, "t2"));
  EXPECT_EQ(TriggerSource(t.path, "BI_T2"), "");
}

TEST(Toolkit, TableAddCompletesAKeySetARunCutShortLeftOut) {
  // The table was committed, the run died before its key set: the rerun makes
  // the set, counting on from the largest key.
  Toolkit t({"CREATE TABLE set_w (nn INT, name VARCHAR(20))", "INSERT INTO set_w VALUES (7, 'a')",
             "INSERT INTO set_w VALUES (3, 'b')", "CREATE GENERATOR GEN_SET_W"});
  t.dm->aaTableAdd("set_w", "nn INT, name VARCHAR(20)", "nn", 0);
  EXPECT_EQ(t.Steps(), 1);
  t.Reopen();
  Exec(t.path, {"INSERT INTO set_w (name) VALUES ('c')"});
  EXPECT_EQ(QueryValue(t.path, "SELECT MAX(nn) FROM set_w"), "8");
  // In place now: a second run changes nothing.
  t.dm->aaTableAdd("set_w", "nn INT, name VARCHAR(20)", "nn", 0);
  EXPECT_EQ(t.Steps(), 2);
  EXPECT_EQ(GeneratorValue(t.path, "GEN_SET_W"), 8);
}

TEST(Toolkit, ColumnAddAndItsPlaceAreOneCommit) {
  Toolkit t({"CREATE TABLE r (a INT, b INT, c INT)"});
  const fb::ClientStats& stats = test::TestClient().stats();
  const std::uint64_t commits = stats.Commits();
  t.dm->aaColumnAdd("r", "x", "i", 2);
  // One commit, for the change: the read that looked first stays open for the next read.
  EXPECT_EQ(stats.Commits() - commits, 1u);
  EXPECT_EQ(Columns(t.path, "R"), (Strings{"A INTEGER", "X INTEGER", "B INTEGER", "C INTEGER"}));
  EXPECT_EQ(t.Steps(), 1);
}

TEST(Toolkit, TableAddRepairsATableLeftWithoutARecordFormat) {
  // The engine's own fault: a CREATE TABLE killed inside its commit (isql-fb,
  // its 15th page write), then made again, lists a table that has no format.
  Toolkit t({});
  t.dm->CloseDataBase();
  const std::string script = t.h.Db("create.sql");
  test::WriteFile(script, "CREATE TABLE O_MESSAGE (NOM INT, MESSAGETEXT VARCHAR(255));\nCOMMIT;\n");
  const std::string kill = "strace -f -o /dev/null -e trace=pwrite64 -e inject=pwrite64:signal=KILL:when=15 "
                           "isql-fb -user kv5.1 -i '" + script + "' '" + t.path + "' >/dev/null 2>&1";
  ASSERT_NE(std::system(kill.c_str()), 0) << "isql-fb was not killed";
  Exec(t.path, {"CREATE TABLE O_MESSAGE (NOM INT, MESSAGETEXT VARCHAR(255))"});
  ASSERT_EQ(QueryValue(t.path, "SELECT COALESCE(RDB$FORMAT, -1) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='O_MESSAGE'"),
            "-1");
  EXPECT_THROW(QueryValue(t.path, "SELECT NOM FROM O_MESSAGE"), std::exception);

  ASSERT_TRUE(t.dm->OpenDataBase(t.path));
  EXPECT_TRUE(t.dm->TableWithoutFormat("o_message"));
  t.dm->aaTableAdd("O_MESSAGE", "NOM INT, MESSAGETEXT VARCHAR(255)", "NOM", 0);
  EXPECT_EQ(t.Steps(), 1);
  t.Reopen();
  EXPECT_FALSE(t.dm->TableWithoutFormat("O_MESSAGE"));
  Exec(t.path, {"INSERT INTO O_MESSAGE (MESSAGETEXT) VALUES ('ok')"});
  EXPECT_EQ(QueryValue(t.path, "SELECT NOM FROM O_MESSAGE"), "1");
}

TEST(Toolkit, TableGeneratorAdd) {
  Toolkit t({"CREATE TABLE a (id INT)", "CREATE TABLE b (id INT)", "CREATE GENERATOR GEN_B"});
  t.dm->aaTableGeneratorAdd("missing", "id", 0);  // nothing to do
  t.dm->aaTableGeneratorAdd("a", "  ", 0);        // blank key: nothing to do
  t.dm->aaTableGeneratorAdd("a", "id", 10);       // applied
  t.dm->aaTableGeneratorAdd("a", "id", 10);       // in place
  t.dm->aaTableGeneratorAdd("b", "id", 0);        // generator without a trigger: CREATE GENERATOR fails
  EXPECT_EQ(t.Steps(), 4);
  t.Reopen();
  EXPECT_EQ(GeneratorValue(t.path, "GEN_A"), 10);
  EXPECT_NE(TriggerSource(t.path, "BI_A").find("NEW.ID = GEN_ID(GEN_A,1)"), std::string::npos);
  EXPECT_EQ(TriggerSource(t.path, "BI_B"), "");
}

TEST(Toolkit, TableDeleteDropsTheGeneratorSetWithTheTable) {
  Toolkit t({"CREATE TABLE keyed (id INT, v INT)", "CREATE GENERATOR GEN_KEYED",
             "CREATE TRIGGER BI_KEYED FOR keyed ACTIVE BEFORE INSERT POSITION 0 AS BEGIN "
             "IF (NEW.id IS NULL) THEN NEW.id = GEN_ID(GEN_KEYED,1); END",
             "CREATE TABLE bare (a INT)", "CREATE TABLE referenced (a INT)",
             "CREATE VIEW v_ref AS SELECT a FROM referenced"},
            true);
  t.dm->aaTableDelete("keyed");
  t.dm->aaTableDelete("bare");
  t.dm->aaTableDelete("bare");        // gone: nothing to do
  t.dm->aaTableDelete("referenced");  // a view uses it: refused
  EXPECT_EQ(t.Steps(), 3);
  ASSERT_EQ(t.h.dialog.messages.size(), 1u);
  EXPECT_EQ(t.h.dialog.messages[0], t.path + "\r\rDROP TABLE REFERENCED\r\n");
  t.Reopen();
  EXPECT_FALSE(HasTable(t.path, "keyed"));
  EXPECT_FALSE(HasGenerator(t.path, "GEN_KEYED"));
  EXPECT_EQ(TriggerSource(t.path, "BI_KEYED"), "");
  EXPECT_FALSE(HasTable(t.path, "bare"));
  EXPECT_TRUE(HasTable(t.path, "referenced"));
}

TEST(Toolkit, RowsClearedCountEvenWhenTheyCannotBe) {
  Toolkit t({"CREATE TABLE r (a INT)", "INSERT INTO r VALUES (1)", "INSERT INTO r VALUES (2)"});
  t.dm->ccTableRowNULL("r");
  t.dm->ccTableRowNULL("no_such_table");
  EXPECT_EQ(t.Steps(), 2);
  t.Reopen();
  EXPECT_EQ(QueryValue(t.path, "SELECT COUNT(*) FROM r"), "0");
}

TEST(Toolkit, ColumnAddPlacesTheNewColumn) {
  Strings setup = {"CREATE TABLE k_Razdel (c1 INT, c2 INT, c3 INT, c4 INT, c5 INT, c6 INT, c7 INT, c8 INT, "
                   "c9 INT, c10 INT, c11 INT, c12 INT, c13 INT, c14 INT)"};
  Toolkit t(setup);
  t.dm->aaColumnAdd("k_Razdel", "Note", "t255", 13);
  t.dm->aaColumnAdd("k_Razdel", "Tail", "i", 0);       // where the server puts it
  t.dm->aaColumnAdd("k_Razdel", "Far", "s", 99);       // clamped to the end
  t.dm->aaColumnAdd("k_Razdel", "c1", "i", 5);         // exists: nothing to do, stays first
  t.dm->aaColumnAdd("k_Razdel", "Broken", "t", 2);     // VARCHAR(): refused
  EXPECT_EQ(t.Steps(), 4);
  t.Reopen();
  const Strings cols = Columns(t.path, "k_Razdel");
  ASSERT_EQ(cols.size(), 17u);
  EXPECT_EQ(cols[0], "C1 INTEGER");
  EXPECT_EQ(cols[12], "NOTE VARCHAR(255)");
  EXPECT_EQ(cols[15], "TAIL INTEGER");
  EXPECT_EQ(cols[16], "FAR SMALLINT");
}

TEST(Toolkit, ColumnDeleteAndRetype) {
  Toolkit t({"CREATE TABLE price (PriceSale2 NUMERIC(8,4), Summa INT, Old INT, Keep INT)",
             "CREATE TABLE single (only_one INT)", "INSERT INTO price VALUES (12.5, 3, 1, 2)"});
  t.dm->aaColumnDelete("price", "Old");
  t.dm->aaColumnDelete("price", "Old");          // gone: nothing to do
  t.dm->aaColumnDelete("single", "only_one");    // the last column cannot go
  t.dm->aaColumnPereType("price", "PriceSale2", "m4");
  t.dm->aaColumnPereType("price", "PriceSale2", "m4");  // executed again, accepted again
  t.dm->aaColumnPereType("price", "Missing", "m4");     // nothing to do
  t.dm->aaColumnPereType("price", "Summa", "s");        // narrowing refused
  EXPECT_EQ(t.Steps(), 5);
  t.Reopen();
  EXPECT_EQ(Columns(t.path, "price"), (Strings{"PRICESALE2 NUMERIC(12,4)", "SUMMA INTEGER", "KEEP INTEGER"}));
  EXPECT_EQ(QueryValue(t.path, "SELECT PriceSale2 FROM price"), "12.5000");
  EXPECT_EQ(Columns(t.path, "single"), Strings{"ONLY_ONE INTEGER"});
}

TEST(Toolkit, ColumnPositionCountsNothing) {
  Toolkit t({"CREATE TABLE p (a INT, b INT, c INT)"});
  t.dm->bbColumnPereNumber("p", "c", 1);
  t.dm->bbColumnPereNumber("p", "missing", 1);
  t.dm->bbColumnPereNumber("p", "a", 0);  // refused by the server
  EXPECT_EQ(t.Steps(), 0);
  t.Reopen();
  EXPECT_EQ(Columns(t.path, "p"), (Strings{"C INTEGER", "A INTEGER", "B INTEGER"}));
}

const Strings kKeyedTable = {
    "CREATE TABLE k_MaterialS (OtstupOut INT, Name VARCHAR(20))", "CREATE GENERATOR GEN_K_MATERIALS",
    "SET GENERATOR GEN_K_MATERIALS TO 57",
    "CREATE TRIGGER BI_K_MATERIALS FOR K_MATERIALS ACTIVE BEFORE INSERT POSITION 0 AS BEGIN "
    "IF (NEW.OTSTUPOUT IS NULL) THEN NEW.OTSTUPOUT = GEN_ID(GEN_K_MATERIALS,1); END"};

TEST(Toolkit, RenameCarriesTheGeneratorSetOverToTheNewName) {
  Toolkit t(kKeyedTable);
  t.dm->aaColumnPereName("k_MaterialS", "OtstupOut", "OtstupLeft");
  t.dm->aaColumnPereName("k_MaterialS", "OtstupOut", "OtstupLeft");  // done already
  EXPECT_EQ(t.Steps(), 2);
  t.Reopen();
  EXPECT_EQ(Columns(t.path, "k_MaterialS"), (Strings{"OTSTUPLEFT INTEGER", "NAME VARCHAR(20)"}));
  EXPECT_EQ(GeneratorValue(t.path, "GEN_K_MATERIALS"), 57);
  EXPECT_NE(TriggerSource(t.path, "BI_K_MATERIALS").find("NEW.OtstupLeft = GEN_ID(GEN_K_MATERIALS,1)"),
            std::string::npos);
  Exec(t.path, {"INSERT INTO k_MaterialS (Name) VALUES ('x')"});
  EXPECT_EQ(QueryValue(t.path, "SELECT OtstupLeft FROM k_MaterialS"), "58");
}

TEST(Toolkit, RenameLeavesAGeneratorSetOfAnotherColumnAlone) {
  Toolkit t({"CREATE TABLE r (id INT, nm INT)", "CREATE GENERATOR GEN_R", "SET GENERATOR GEN_R TO 9",
             "CREATE TRIGGER BI_R FOR r ACTIVE BEFORE INSERT POSITION 0 AS BEGIN "
             "IF (NEW.id IS NULL) THEN NEW.id = GEN_ID(GEN_R,1); END"});
  const std::string before = TriggerSource(t.path, "BI_R");
  t.dm->aaColumnPereName("r", "nm", "nm2");
  EXPECT_EQ(t.Steps(), 1);
  t.Reopen();
  EXPECT_EQ(Columns(t.path, "r"), (Strings{"ID INTEGER", "NM2 INTEGER"}));
  EXPECT_EQ(TriggerSource(t.path, "BI_R"), before);
  EXPECT_EQ(GeneratorValue(t.path, "GEN_R"), 9);
}

TEST(Toolkit, ARefusedRenameKeepsTheGeneratorSet) {
  // A second trigger uses the key column, so the server refuses the rename.
  Strings setup = kKeyedTable;
  setup.push_back("CREATE TRIGGER BU_K_MATERIALS FOR K_MATERIALS ACTIVE BEFORE UPDATE POSITION 0 AS BEGIN "
                  "NEW.OTSTUPOUT = OLD.OTSTUPOUT; END");
  Toolkit t(setup, true);
  t.dm->aaColumnPereName("k_MaterialS", "OtstupOut", "OtstupLeft");
  EXPECT_EQ(t.Steps(), 0);
  ASSERT_EQ(t.h.dialog.messages.size(), 1u);
  EXPECT_EQ(t.h.dialog.messages[0], t.path + "\r\rALTER TABLE k_MaterialS\r\nALTER COLUMN OtstupOut TO OtstupLeft\r\n");
  t.Reopen();
  EXPECT_EQ(Columns(t.path, "k_MaterialS"), (Strings{"OTSTUPOUT INTEGER", "NAME VARCHAR(20)"}));
  EXPECT_EQ(GeneratorValue(t.path, "GEN_K_MATERIALS"), 57);
  Exec(t.path, {"INSERT INTO k_MaterialS (Name) VALUES ('x')"});
  EXPECT_EQ(QueryValue(t.path, "SELECT OtstupOut FROM k_MaterialS"), "58");

  // A later run still finds the set serving the column and still refuses, keeping it.
  t.dm->aaColumnPereName("k_MaterialS", "OtstupOut", "OtstupLeft");
  t.Reopen();
  EXPECT_EQ(GeneratorValue(t.path, "GEN_K_MATERIALS"), 58);
}

TEST(Toolkit, ARenameCutShortAtEitherCommitIsFinishedWithItsKeySet) {
  // The key trigger let go of the old column (its body a placeholder naming the
  // rename), and the run died before the rename, or after it.
  const std::string placeholder =
      "ALTER TRIGGER BI_K_MATERIALS AS BEGIN " + RenamePlaceholderBody("OTSTUPOUT", "OTSTUPLEFT") + " END";
  for (bool renamed : {false, true}) {
    SCOPED_TRACE(renamed ? "column renamed" : "column not renamed yet");
    Strings setup = kKeyedTable;
    setup.push_back(placeholder);
    if (renamed) setup.push_back("ALTER TABLE k_MaterialS ALTER COLUMN OtstupOut TO OtstupLeft");
    Toolkit t(setup);
    t.dm->aaColumnPereName("k_MaterialS", "OtstupOut", "OtstupLeft");
    EXPECT_EQ(t.Steps(), 1);
    t.Reopen();
    EXPECT_EQ(Columns(t.path, "k_MaterialS"), (Strings{"OTSTUPLEFT INTEGER", "NAME VARCHAR(20)"}));
    EXPECT_EQ(TriggerSource(t.path, "BI_K_MATERIALS"),
              "AS\r\nBEGIN\r\nIF (NEW.OtstupLeft IS NULL) THEN NEW.OtstupLeft = GEN_ID(GEN_K_MATERIALS,1);\r\nEND");
    Exec(t.path, {"INSERT INTO k_MaterialS (Name) VALUES ('x')"});
    EXPECT_EQ(QueryValue(t.path, "SELECT OtstupLeft FROM k_MaterialS"), "58");
  }
}

TEST(Toolkit, AKeySetOrIndexLeftUnsoundIsMadeSound) {
  // A generator that stands below the keys its table holds would give a key
  // twice; an index listed but inactive holds no entries.
  Toolkit t({"CREATE TABLE set_w (nn INT, name VARCHAR(20))", "INSERT INTO set_w VALUES (7, 'a')",
             "CREATE GENERATOR GEN_SET_W",
             "CREATE TRIGGER BI_SET_W FOR SET_W ACTIVE BEFORE INSERT POSITION 0 AS BEGIN "
             "IF (NEW.NN IS NULL) THEN NEW.NN = GEN_ID(GEN_SET_W,1); END",
             "CREATE TABLE PRICE (KodMaterial INT)", "INSERT INTO PRICE VALUES (1)",
             "CREATE UNIQUE INDEX PRICE_KODMATERIAL ON PRICE (KodMaterial)",
             "ALTER INDEX PRICE_KODMATERIAL INACTIVE"});
  t.dm->aaTableAdd("set_w", "nn INT, name VARCHAR(20)", "nn", 0);
  t.dm->aaIndexAdd("PRICE", "KodMaterial", "UNIQUE");
  EXPECT_EQ(t.Steps(), 1);
  t.Reopen();
  EXPECT_EQ(GeneratorValue(t.path, "GEN_SET_W"), 7);
  EXPECT_EQ(QueryValue(t.path, "SELECT RDB$INDEX_INACTIVE FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'PRICE_KODMATERIAL'"),
            "0");
  EXPECT_THROW(Exec(t.path, {"INSERT INTO PRICE VALUES (1)"}), std::exception);
}

TEST(Toolkit, IndexAddCreatesOnceAndCountsNothing) {
  Toolkit t({"CREATE TABLE PRICE (KodMaterial INT)", "CREATE TABLE PRICEHISTORY (KodMaterial INT)",
             "INSERT INTO PRICE VALUES (1)", "INSERT INTO PRICE VALUES (2)", "INSERT INTO PRICEHISTORY VALUES (1)",
             "INSERT INTO PRICEHISTORY VALUES (1)", "CREATE TABLE dup (k INT)", "INSERT INTO dup VALUES (1)",
             "INSERT INTO dup VALUES (1)"},
            true);
  t.dm->aaIndexAdd("PRICE", "KodMaterial", "UNIQUE");
  t.dm->aaIndexAdd("PRICE", "KodMaterial", "UNIQUE");  // exists
  t.dm->aaIndexAdd("PRICEHISTORY", "KodMaterial", "");
  t.dm->aaIndexAdd("dup", "k", "UNIQUE");  // duplicates: refused when committed
  EXPECT_EQ(t.Steps(), 0);
  ASSERT_EQ(t.h.dialog.messages.size(), 1u);
  EXPECT_EQ(t.h.dialog.messages[0], t.path + "\r\rCREATE UNIQUE INDEX DUP_K\r\nON DUP\r\n(K)\r\n");
  t.Reopen();
  const std::string indices = "SELECT TRIM(RDB$INDEX_NAME) || ':' || COALESCE(RDB$UNIQUE_FLAG, 0) FROM RDB$INDICES "
                              "WHERE RDB$SYSTEM_FLAG = 0 ORDER BY 1";
  EXPECT_EQ(test::Query(t.path, indices),
            (std::vector<Strings>{{"PRICEHISTORY_KODMATERIAL:0"}, {"PRICE_KODMATERIAL:1"}}));
}

TEST(Toolkit, PlainIndexStatementHasTwoBlanks) {
  Toolkit t({"CREATE TABLE x (a INT)"}, true);
  Exec(t.path, {"CREATE INDEX X_A ON x (a)"});  // the name is taken by another attachment
  t.dm->aaIndexAdd("y", "a", "");              // no table: refused, statement shown
  ASSERT_EQ(t.h.dialog.messages.size(), 1u);
  EXPECT_EQ(t.h.dialog.messages[0], t.path + "\r\rCREATE  INDEX Y_A\r\nON Y\r\n(A)\r\n");
}

TEST(Toolkit, EveryOperationRunTwiceChangesNothingTheSecondTime) {
  Toolkit t({"CREATE TABLE stock (PriceSale2 NUMERIC(12,4), Karta VARCHAR(24), Old INT)",
             "CREATE TABLE de_Risunok (a INT)"});
  auto runAll = [&] {
    t.dm->aaTableAdd("de_template", "NumberMain INT, NameTemplate VARCHAR(255)", "NumberMain", 0);
    t.dm->aaTableGeneratorAdd("stock", "", 0);
    t.dm->aaTableDelete("de_Risunok");
    t.dm->aaColumnAdd("stock", "ArtikulStanok", "t255", 1);
    t.dm->aaColumnDelete("stock", "Old");
    t.dm->aaColumnPereName("stock", "Karta", "Karta2");
    t.dm->aaColumnPereType("stock", "PriceSale2", "z4");
  };
  runAll();
  EXPECT_EQ(t.Steps(), 7);
  t.Reopen();
  const Strings after = Columns(t.path, "stock");
  EXPECT_EQ(after, (Strings{"ARTIKULSTANOK VARCHAR(255)", "PRICESALE2 NUMERIC(18,4)", "KARTA2 VARCHAR(24)"}));
  runAll();
  EXPECT_EQ(t.Steps(), 14);
  t.Reopen();
  EXPECT_EQ(Columns(t.path, "stock"), after);
  EXPECT_EQ(GeneratorValue(t.path, "GEN_DE_TEMPLATE"), 0);
  EXPECT_TRUE(t.h.dialog.messages.empty());
}

}  // namespace
}  // namespace kv
