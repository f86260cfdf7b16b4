// Packs 01 to 06_3 on a demo installation from level 0, checked against the
// system tables and the rows, not against the counter alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "migration/runner.h"
#include "platform/paths.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "support/schema_snapshot.h"

namespace kv {
namespace {

using test::Columns;
using test::DemoFixture;
using test::Exec;
using test::GeneratorValue;
using test::HasGenerator;
using test::HasTable;
using test::Query;
using test::QueryValue;
using test::TriggerSource;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

/* Column i (0-based) of a table, as "NAME TYPE". */
std::string ColumnAt(const std::string& db, const std::string& table, size_t i) {
  Strings cols = Columns(db, table);
  return i < cols.size() ? cols[i] : "(none)";
}

/* Runs a pack twice: the first run must reach its total and change the
** schema as checked by the caller; the second must reach it again and change
** nothing. */
void RunTwice(DemoFixture& f, const packs::Pack& pack) {
  SCOPED_TRACE(std::string(pack.name));
  ASSERT_TRUE(RunPackFresh(f.services(), pack));
  EXPECT_EQ(f.progress.KolvoOperation(), pack.expected);
  const std::string after = f.Snapshot();
  ASSERT_TRUE(RunPackFresh(f.services(), pack));
  EXPECT_EQ(f.progress.KolvoOperation(), pack.expected);
  EXPECT_EQ(f.Snapshot(), after);
}

TEST(Packs01To06, EachPackInOrderAppliesItsChangesOnce) {
  DemoFixture f(0);
  const DatabasePaths& p = f.paths();

  RunTwice(f, packs::z_SP_01);
  for (const std::string* db : {&p.base, &p.config}) {
    EXPECT_EQ(Columns(*db, "stanok_work"), (Strings{"KODWORK INTEGER", "VID SMALLINT", "NAMEWORK VARCHAR(255)"}));
    EXPECT_EQ(Columns(*db, "stanok_mission").size(), 5u);
    EXPECT_EQ(Columns(*db, "stanok_operation").size(), 18u);
    for (const char* t : {"STANOK_MISSION", "STANOK_WORK", "STANOK_OPERATION"}) {
      EXPECT_EQ(GeneratorValue(*db, std::string("GEN_") + t), 0);
      EXPECT_NE(TriggerSource(*db, std::string("BI_") + t), "");
    }
    EXPECT_FALSE(HasTable(*db, "w_Stanok"));
    EXPECT_FALSE(HasGenerator(*db, "GEN_W_STANOK"));
  }
  for (const std::string* db : {&p.orders, &p.serverOrders}) {
    Strings cols = Columns(*db, "k_Razdel");
    ASSERT_EQ(cols.size(), 16u);
    EXPECT_EQ(Strings(cols.begin() + 8, cols.end()),
              (Strings{"NUMBERELEMENT10 SMALLINT", "NUMBERSTORONA10 SMALLINT", "OTSTUP1IN INTEGER",
                       "OTSTUP1OUT INTEGER", "NUMBERELEMENT20 SMALLINT", "NUMBERSTORONA20 SMALLINT",
                       "OTSTUP2IN INTEGER", "OTSTUP2OUT INTEGER"}));
  }
  for (const std::string& db : {p.base, p.config, p.orders, p.serverOrders, p.director, p.price, p.stockMan,
                                p.optima, p.system})
    EXPECT_EQ(f.Level(db), "1/0") << db;

  // pOtkos: every product with a p_Razmer row of vid "A" gets Razmer x 100.
  const Rows razmerA = Query(p.orders, "SELECT NOM, NumberProduct, Razmer FROM p_Razmer WHERE vid = 'A' ORDER BY 1, 2");
  const std::string otherVid = QueryValue(p.orders, "SELECT COUNT(*) FROM p_Razmer WHERE vid <> 'A'");
  ASSERT_FALSE(razmerA.empty());
  RunTwice(f, packs::z_SP_02);
  for (const std::string* db : {&p.base, &p.config}) {
    EXPECT_EQ(ColumnAt(*db, "acc_material", 12), "STEEL VARCHAR(1)");
    EXPECT_EQ(Columns(*db, "stanok_Operation").back(), "ODISCONNECT VARCHAR(1)");
  }
  EXPECT_EQ(ColumnAt(p.orders, "Product", 8), "POTKOS INTEGER");
  for (const Strings& r : razmerA) {
    const Rows product = Query(p.orders, "SELECT pOtkos FROM Product WHERE NOM = " + r[0] + " AND NumberProduct = " + r[1]);
    for (const Strings& row : product) EXPECT_EQ(row[0], std::to_string(std::stoi(r[2]) * 100));
  }
  EXPECT_EQ(QueryValue(p.orders, "SELECT COUNT(*) FROM p_Razmer WHERE vid = 'A'"), "0");
  EXPECT_EQ(QueryValue(p.orders, "SELECT COUNT(*) FROM p_Razmer WHERE vid <> 'A'"), otherVid);
  EXPECT_EQ(Columns(p.system, "kv_Setting").back(), "NUMBERBASEMINI INTEGER");

  RunTwice(f, packs::z_SP_03);
  EXPECT_EQ(ColumnAt(p.base, "stanok_operation", 12), "L_IMPOST INTEGER");
  for (const std::string* db : {&p.orders, &p.serverOrders}) {
    EXPECT_EQ(ColumnAt(*db, "k_MaterialS", 8), "NUMBERELEMENT0 SMALLINT");
    EXPECT_EQ(ColumnAt(*db, "k_MaterialS", 9), "NUMBERSTORONA0 SMALLINT");
    EXPECT_EQ(ColumnAt(*db, "k_MaterialS", 10), "OTSTUPOUT INTEGER");
  }

  const std::string ordersBefore04 = test::SchemaSnapshot(p.orders);
  RunTwice(f, packs::z_SP_04);
  EXPECT_EQ(ColumnAt(p.config, "stanok_Work", 2), "CLOCKWISE VARCHAR(1)");
  EXPECT_EQ(ColumnAt(p.config, "stanok_Operation", 20), "OINVERT VARCHAR(1)");
  EXPECT_EQ(ColumnAt(p.config, "rab", 4), "COST0 NUMERIC(8,2)");
  EXPECT_EQ(test::SchemaSnapshot(p.orders), ordersBefore04);  // only the version record moved
  EXPECT_EQ(f.Level(p.orders), "4/0");

  RunTwice(f, packs::z_SP_04_1);
  for (const std::string* db : {&p.base, &p.config}) {
    EXPECT_EQ(test::ColumnType(*db, "stock", "PriceSale2"), "NUMERIC(12,4)");
    EXPECT_EQ(ColumnAt(*db, "de", 17), "KODTEMP INTEGER");
    EXPECT_EQ(ColumnAt(*db, "stanok_Operation", 3), "KODOPERATIONTXT VARCHAR(255)");
    EXPECT_EQ(ColumnAt(*db, "stock_Size", 2), "ARTIKULSTANOK VARCHAR(255)");
    EXPECT_TRUE(HasGenerator(*db, "GEN_DE_TEMPLATE"));
    EXPECT_TRUE(HasTable(*db, "de_temp_element"));
    EXPECT_FALSE(HasGenerator(*db, "GEN_DE_TEMP_ELEMENT"));
    EXPECT_FALSE(HasTable(*db, "de_Risunok"));
  }
  EXPECT_EQ(test::ColumnType(p.price, "price", "PriceSale2"), "NUMERIC(12,4)");
  EXPECT_EQ(test::ColumnType(p.price, "priceHistory", "PriceSale2"), "NUMERIC(12,4)");
  EXPECT_EQ(test::ColumnType(p.stockMan, "Arrivals", "Summa"), "NUMERIC(12,4)");
  EXPECT_EQ(f.Level(p.base), "4/0");

  RunTwice(f, packs::z_SP_04_3);
  for (const std::string* db : {&p.base, &p.config}) {
    EXPECT_EQ(ColumnAt(*db, "stock_Size", 11), "ADDHEIGHT SMALLINT");
    EXPECT_EQ(ColumnAt(*db, "stanok_mission", 2), "NAME_STANOK BLOB SUB_TYPE 1");
    EXPECT_EQ(test::ColumnType(*db, "stanok_mission", "NameStanok"), "");
    Strings el = Columns(*db, "de_temp_element");
    EXPECT_EQ(Strings(el.end() - 2, el.end()), (Strings{"LMIN INTEGER", "LMAX INTEGER"}));
  }

  const Rows paidBefore = Query(p.orders, "SELECT VidPaid FROM o_Paid ORDER BY 1");
  RunTwice(f, packs::z_SP_05);
  const Strings structure = Columns(p.base, "pr_Structure");
  EXPECT_EQ(Strings(structure.end() - 2, structure.end()), (Strings{"SS VARCHAR(1)", "KARTA VARCHAR(24)"}));
  EXPECT_EQ(Columns(p.orders, "de").back(), "KODTEMP INTEGER");
  EXPECT_EQ(QueryValue(p.orders, "SELECT COUNT(*) FROM o_Paid WHERE VidPaid = ''"), "0");
  for (const Strings& r : paidBefore) {
    if (r[0] != "" && r[0] != "<null>") {
      EXPECT_NE(QueryValue(p.orders, "SELECT COUNT(*) FROM o_Paid WHERE VidPaid = '" + r[0] + "'"), "0");
    }
  }
  EXPECT_EQ(test::ColumnType(p.price, "PriceHistory", "DatePrice"), "TIMESTAMP");
  EXPECT_EQ(Columns(p.system, "history_Money"),
            (Strings{"NUMBERMAIN INTEGER", "DATESAVE TIMESTAMP", "DESIGNCURRENCY VARCHAR(12)", "RATE NUMERIC(8,4)"}));
  EXPECT_EQ(QueryValue(p.system, "SELECT COUNT(*) FROM history_Money"), "0");
  EXPECT_NE(TriggerSource(p.system, "BI_HISTORY_MONEY").find("NEW.NUMBERMAIN"), std::string::npos);
  EXPECT_EQ(Columns(p.system, "set_DocProfil").back(), "DOCSETTINGS BLOB SUB_TYPE 1");
  EXPECT_EQ(f.Level(p.system), "5/0");

  RunTwice(f, packs::z_SP_06);
  EXPECT_EQ(f.Level(p.price), "6/0");

  RunTwice(f, packs::z_SP_06_1);
  for (const std::string* db : {&p.base, &p.config}) {
    EXPECT_EQ(ColumnAt(*db, "set_Config", 0), "ALEVEL INTEGER");
    EXPECT_EQ(Query(*db, "SELECT DISTINCT aLevel FROM set_Config"), Rows{{"1"}});
    EXPECT_EQ(ColumnAt(*db, "de_temp_element", 3), "UMIN INTEGER");
    EXPECT_EQ(ColumnAt(*db, "DE", 18), "PREFIX VARCHAR(3)");
    EXPECT_EQ(ColumnAt(*db, "DE", 19), "KODPARAMETER INTEGER");
    EXPECT_TRUE(HasGenerator(*db, "GEN_SET_PARAMETERDE"));
    EXPECT_TRUE(HasTable(*db, "set_Logistic_Transport"));
    EXPECT_EQ(Columns(*db, "kv_setting").back(), "OTKOSMINI INTEGER");
  }
  EXPECT_EQ(ColumnAt(p.orders, "DE", 6), "PREFIX VARCHAR(3)");
  EXPECT_EQ(ColumnAt(p.orders, "DE", 7), "SUBPARAMETER VARCHAR(255)");
  EXPECT_EQ(Columns(p.orders, "o_Logistic").back(), "LOG_LOGISTIC BLOB SUB_TYPE 1");
  EXPECT_EQ(ColumnAt(p.stockMan, "ArrivalsList", 3), "NAMEARRIVALSSUPPLIER VARCHAR(255)");
  EXPECT_EQ(ColumnAt(p.stockMan, "ArrivalsList", 4), "DATEARRIVALSSUPPLIER DATE");
  EXPECT_EQ(f.Level(p.base), "6/0");

  RunTwice(f, packs::z_SP_06_2);
  EXPECT_EQ(ColumnAt(p.config, "Furnitura", 7), "NUMBERLOCK INTEGER");
  const Strings rab = Columns(p.config, "RAB");
  ASSERT_GE(rab.size(), 12u);
  EXPECT_EQ(Strings(rab.begin() + 6, rab.begin() + 12),
            (Strings{"WIDTHMIN INTEGER", "WIDTHMAX INTEGER", "HEIGHTMIN INTEGER", "HEIGHTMAX INTEGER",
                     "OTKOSMIN INTEGER", "OTKOSMAX INTEGER"}));
  EXPECT_EQ(f.Level(p.base), "6/2");
  EXPECT_EQ(f.Level(p.orders), "6/0");

  RunTwice(f, packs::z_SP_06_3);
  EXPECT_EQ(ColumnAt(p.base, "stock_Size", 13), "L_MINIPOKRASKA INTEGER");
  EXPECT_EQ(ColumnAt(p.base, "col", 3), "MINICAPITAL VARCHAR(1)");
  EXPECT_EQ(f.Level(p.config), "6/3");
  EXPECT_TRUE(f.dialog.messages.empty());
}

TEST(Packs01To06, MissingDirectorAndNoServerOrdersStillReachEveryTotal) {
  DemoFixture f(0);
  std::filesystem::remove_all(FolderOf(f.paths().director));
  f.installation().databases.serverOrders = "";
  for (const packs::Pack* pack : {&packs::z_SP_01, &packs::z_SP_02, &packs::z_SP_03, &packs::z_SP_04,
                                  &packs::z_SP_04_1, &packs::z_SP_04_3, &packs::z_SP_05, &packs::z_SP_06,
                                  &packs::z_SP_06_1, &packs::z_SP_06_2, &packs::z_SP_06_3}) {
    EXPECT_TRUE(RunPackFresh(f.services(), *pack)) << pack->name;
    EXPECT_EQ(f.progress.KolvoOperation(), pack->expected) << pack->name;
  }
  EXPECT_EQ(MinimumLevelFresh(f.services()), 6);
}

TEST(Packs01To06, AFailedOtkosUpdateKeepsTheRowsAndTheLevelStillMoves) {
  DemoFixture f(1);
  const DatabasePaths& p = f.paths();
  Exec(p.orders, {"CREATE EXCEPTION locked 'locked'",
                  "CREATE TRIGGER product_lock FOR Product BEFORE UPDATE AS BEGIN EXCEPTION locked; END"});
  const std::string razmerA = QueryValue(p.orders, "SELECT COUNT(*) FROM p_Razmer WHERE vid = 'A'");
  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_02));  // the conversion does not count
  ASSERT_EQ(f.dialog.messages.size(), 1u);                   // shown for every installation
  EXPECT_EQ(f.dialog.messages[0], "Error\rUPDATE Product\r\nSET pOtkos=:p0\r\nWHERE NOM=:p1 and NumberProduct=:p2\r\n");
  EXPECT_EQ(QueryValue(p.orders, "SELECT COUNT(*) FROM p_Razmer WHERE vid = 'A'"), razmerA);
  EXPECT_EQ(QueryValue(p.orders, "SELECT COUNT(*) FROM Product WHERE pOtkos IS NOT NULL"), "0");
  EXPECT_EQ(f.Level(p.orders), "2/0");
  EXPECT_EQ(QueryValue(p.serverOrders, "SELECT COUNT(*) FROM p_Razmer WHERE vid = 'A'"), "0");
}

TEST(Packs01To06, DataStatementsKeepTheirOwnCountingRules) {
  DemoFixture f(6, 8, true);  // numbered: failures are shown
  const DatabasePaths& p = f.paths();
  // set_Config refuses the aLevel update in Base: the rest of Base's work is left out.
  Exec(p.base, {"CREATE EXCEPTION locked 'locked'",
                "CREATE TRIGGER config_lock FOR set_Config BEFORE UPDATE AS BEGIN EXCEPTION locked; END"}, 8);
  EXPECT_FALSE(RunPackFresh(f.services(), packs::z_SP_06_1));
  EXPECT_EQ(f.progress.KolvoOperation(), 45 - 8);
  ASSERT_EQ(f.dialog.messages.size(), 2u);
  EXPECT_EQ(f.dialog.messages[0], p.base + "\r\rUPDATE set_Config\r\nSET aLevel=:p0\r\n");
  EXPECT_EQ(f.dialog.messages[1], "KolvoOperation=37\r\rKolvo_SP_6_1=45");
  EXPECT_FALSE(HasTable(p.base, "set_WWW"));  // step 5 not reached
  EXPECT_TRUE(HasTable(p.config, "set_WWW"));  // the other databases are worked on
}

TEST(Packs01To06, APaymentKindFailureStillCounts) {
  DemoFixture f(4);
  Exec(f.paths().orders, {"CREATE EXCEPTION locked 'locked'",
                          "CREATE TRIGGER paid_lock FOR o_Paid BEFORE UPDATE AS BEGIN EXCEPTION locked; END"});
  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_05));
  EXPECT_EQ(f.progress.KolvoOperation(), 21);
  EXPECT_NE(QueryValue(f.paths().orders, "SELECT COUNT(*) FROM o_Paid WHERE VidPaid = ''"), "0");
  EXPECT_EQ(QueryValue(f.paths().serverOrders, "SELECT COUNT(*) FROM o_Paid WHERE VidPaid = ''"), "0");
}

}  // namespace
}  // namespace kv
