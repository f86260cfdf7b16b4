// Packs 08 to 12_2: the data steps and the rules that go with them.
#include <gtest/gtest.h>

#include "migration/packs/data_steps.h"
#include "migration/runner.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"

namespace kv {
namespace {

using test::Columns;
using test::DemoFixture;
using test::Exec;
using test::HasTable;
using test::Query;
using test::QueryValue;
using Rows = test::Rows;

const std::string kTintRows = "SELECT Nom, NumberProduct, NumberElement, KodCapital, CostCapital FROM ";

TEST(Packs08, TintTableReplacesItsPredecessorWithItsRows) {
  DemoFixture f(8);
  const DatabasePaths& p = f.paths();
  const Rows priceRows = Query(p.orders, kTintRows + "k_Price ORDER BY 1, 2, 3");
  ASSERT_FALSE(priceRows.empty());
  Exec(p.serverOrders, {"DROP TABLE k_Price"});  // the other Orders database never had one

  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_08_1));
  EXPECT_EQ(f.progress.KolvoOperation(), 67);
  EXPECT_EQ(Query(p.orders, kTintRows + "k_Tonirovka ORDER BY 1, 2, 3"), priceRows);
  EXPECT_FALSE(HasTable(p.orders, "k_Price"));
  EXPECT_EQ(Columns(p.orders, "k_Tonirovka").back(), "KARTA VARCHAR(24)");
  EXPECT_EQ(QueryValue(p.serverOrders, "SELECT COUNT(*) FROM k_Tonirovka"), "0");
  EXPECT_EQ(test::ColumnType(p.orders, "k_MaterialS", "OtstupLeft"), "INTEGER");
  EXPECT_EQ(test::ColumnType(p.orders, "k_MaterialS", "OtstupOut"), "");
  EXPECT_EQ(f.Level(p.orders), "8/1");
}

TEST(Packs08, AFailedTintCopyNeverLosesTheRows) {
  DemoFixture f(8);
  const DatabasePaths& p = f.paths();
  const Rows priceRows = Query(p.orders, kTintRows + "k_Price ORDER BY 1, 2, 3");
  // One more column in k_Price: INSERT ... SELECT * no longer fits.
  Exec(p.orders, {"ALTER TABLE k_Price ADD Extra INTEGER"});
  EXPECT_FALSE(RunPackFresh(f.services(), packs::z_SP_08_1));
  // The rest of Orders' work is left out, silently, and so is its build: the
  // next run comes back to it.
  EXPECT_EQ(f.progress.KolvoOperation(), 67 - 16 - 1);
  EXPECT_TRUE(f.dialog.messages.empty());
  EXPECT_EQ(f.Level(p.orders), "8/0");
  EXPECT_TRUE(HasTable(p.orders, "k_Tonirovka"));
  EXPECT_TRUE(HasTable(p.orders, "k_Price"));

  // Run again while the copy still cannot work: k_Price is kept, not dropped.
  EXPECT_FALSE(RunPackFresh(f.services(), packs::z_SP_08_1));
  EXPECT_EQ(Query(p.orders, kTintRows + "k_Price ORDER BY 1, 2, 3"), priceRows);

  // Once the copy can work, the rows move and the old table goes.
  Exec(p.orders, {"ALTER TABLE k_Price DROP Extra"});
  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_08_1));
  EXPECT_EQ(Query(p.orders, kTintRows + "k_Tonirovka ORDER BY 1, 2, 3"), priceRows);
  EXPECT_FALSE(HasTable(p.orders, "k_Price"));
}

TEST(Packs08, QuantityBecomesKolvoOrThePackEndsAtOnce) {
  DemoFixture f(8, 8, true);
  const DatabasePaths& p = f.paths();
  const Rows quantities = Query(p.stockMan, "SELECT Quantity FROM StockMan ORDER BY 1", 8);
  Exec(p.stockMan, {"CREATE EXCEPTION locked 'locked'",
                    "CREATE TRIGGER stock_lock FOR StockMan BEFORE UPDATE AS BEGIN EXCEPTION locked; END"},
       8);
  EXPECT_FALSE(RunPackFresh(f.services(), packs::z_SP_08_4));
  ASSERT_EQ(f.dialog.messages.size(), 1u);  // no count message after it
  EXPECT_EQ(f.dialog.messages[0], "Error\rUPDATE StockMan\r\nSET Kolvo = Quantity * 10000\r\n");
  EXPECT_EQ(f.Level(p.stockMan), "8/0");       // no Build written
  EXPECT_EQ(f.Level(p.optima), "8/0");         // never reached
  EXPECT_EQ(Query(p.stockMan, "SELECT Quantity FROM StockMan ORDER BY 1", 8), quantities);

  Exec(p.stockMan, {"DROP TRIGGER stock_lock"}, 8);
  f.dialog.messages.clear();
  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_08_4));
  EXPECT_EQ(f.progress.KolvoOperation(), 14);
  EXPECT_EQ(test::ColumnType(p.stockMan, "StockMan", "Quantity"), "");
  EXPECT_EQ(Columns(p.stockMan, "StockMan")[3], "KOLVO BIGINT");
  // Every quantity arrives in ten-thousandths.
  Rows kolvo = Query(p.stockMan, "SELECT Kolvo FROM StockMan ORDER BY 1", 8);
  ASSERT_EQ(kolvo.size(), quantities.size());
  for (size_t i = 0; i < kolvo.size(); ++i)
    if (quantities[i][0] != "<null>") {
      EXPECT_EQ(std::stod(kolvo[i][0]), std::stod(quantities[i][0]) * 10000) << quantities[i][0];
    }
  // Without Quantity the same pack just finds Kolvo in place.
  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_08_4));
  EXPECT_EQ(f.progress.KolvoOperation(), 14);
}

TEST(Packs12, WorkshopTableIsRebuiltOnceWithItsNineRows) {
  DemoFixture f(12);
  const DatabasePaths& p = f.paths();
  ASSERT_EQ(test::ColumnType(p.base, "set_workshop", "type_work"), "");  // the table of pack 10_1
  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_12_1));
  EXPECT_EQ(f.progress.KolvoOperation(), 17);
  const Rows expected = {{"1", "A", "3"}, {"2", "B", "2"},  {"3", "C", "2"},    {"4", "D", "2"},   {"5", "E", "2"},
                         {"6", "F", "11"}, {"7", "G", "2"}, {"8", "Z1", "1000"}, {"9", "Z2", "1050"}};
  for (const std::string* db : {&p.base, &p.config})
    EXPECT_EQ(Query(*db, "SELECT NumberMain, type_work, kolvo FROM set_workshop ORDER BY 1"), expected);
  EXPECT_EQ(test::ColumnType(p.orders, "WORKSHOP", "NUMBER_WORKSHOP"), "");
  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_12_1));
  EXPECT_EQ(Query(p.base, "SELECT NumberMain, type_work, kolvo FROM set_workshop ORDER BY 1"), expected);
}

TEST(Packs12, FactorsHoursAndIndexes) {
  for (int installation : {1, 8}) {
    SCOPED_TRACE(installation);
    DemoFixture f(12, installation, true);
    const DatabasePaths& p = f.paths();
    const Rows hours = Query(p.orders, "SELECT NORMHOUR FROM O_K ORDER BY 1", installation);
    EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_12_2));
    EXPECT_EQ(f.progress.KolvoOperation(), 30);
    EXPECT_EQ(QueryValue(p.base, "SELECT COUNT(*) FROM STOCK_COLOR WHERE k_Factor IS DISTINCT FROM 1000", installation), "0");
    EXPECT_EQ(QueryValue(p.price, "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME IN "
                                  "('PRICE_KODMATERIAL', 'PRICEHISTORY_KODMATERIAL')", installation), "2");
    Rows expected = hours;
    if (installation == 8)
      for (auto& r : expected)
        if (r[0] != "<null>" && std::stoi(r[0]) > 0 && std::stoi(r[0]) < 1000) r[0] = std::to_string(std::stoi(r[0]) * 100);
    std::sort(expected.begin(), expected.end(), [](auto& a, auto& b) {
      return a[0] == "<null>" ? b[0] != "<null>" : b[0] != "<null>" && std::stoi(a[0]) < std::stoi(b[0]);
    });
    EXPECT_EQ(Query(p.orders, "SELECT NORMHOUR FROM O_K ORDER BY 1", installation), expected);

    // Again: existing factors stay, hours are not scaled twice, the indexes stay.
    Exec(p.base, {"UPDATE STOCK_COLOR SET k_Factor = 7 WHERE k_Factor = 1000 ROWS 1"}, installation);
    EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_12_2));
    EXPECT_EQ(QueryValue(p.base, "SELECT COUNT(*) FROM STOCK_COLOR WHERE k_Factor = 7", installation), "1");
    EXPECT_EQ(Query(p.orders, "SELECT NORMHOUR FROM O_K ORDER BY 1", installation), expected);
    EXPECT_TRUE(f.dialog.messages.empty());
  }
}

TEST(Packs12, AUniqueIndexOverDuplicatesDoesNotFailThePack) {
  DemoFixture f(12, 8, true);
  const DatabasePaths& p = f.paths();
  Exec(p.price, {"UPDATE PRICE SET KodMaterial = (SELECT MIN(KodMaterial) FROM PRICE)"}, 8);
  EXPECT_TRUE(RunPackFresh(f.services(), packs::z_SP_12_2));
  EXPECT_EQ(f.progress.KolvoOperation(), 30);
  ASSERT_EQ(f.dialog.messages.size(), 1u);
  EXPECT_EQ(f.dialog.messages[0], p.price + "\r\rCREATE UNIQUE INDEX PRICE_KODMATERIAL\r\nON PRICE\r\n(KODMATERIAL)\r\n");
  EXPECT_EQ(QueryValue(p.price, "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'PRICE_KODMATERIAL'", 8), "0");
  EXPECT_EQ(QueryValue(p.price, "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'PRICEHISTORY_KODMATERIAL'", 8), "1");
}

TEST(Packs09To11, BuildValuesOfTheFollowUpPacks) {
  DemoFixture f(9);
  const DatabasePaths& p = f.paths();
  for (const packs::Pack* pack : {&packs::z_SP_09_1, &packs::z_SP_10, &packs::z_SP_10_1, &packs::z_SP_11,
                                  &packs::z_SP_11_1}) {
    EXPECT_TRUE(RunPackFresh(f.services(), *pack)) << pack->name;
    EXPECT_EQ(f.progress.KolvoOperation(), pack->expected) << pack->name;
    if (pack == &packs::z_SP_09_1) {
      EXPECT_EQ(f.Level(p.orders), "9/1");
    }
    if (pack == &packs::z_SP_10_1) {
      EXPECT_EQ(f.Level(p.director), "10/1");
    }
  }
  EXPECT_EQ(f.Level(p.orders), "11/0");  // 11_1 writes Build 0
  EXPECT_EQ(Columns(p.orders, "Orders")[1], "NOM_GUID VARCHAR(36)");
  EXPECT_EQ(Columns(p.orders, "WorkShop")[0], "NOM_GUID VARCHAR(36)");
}

}  // namespace
}  // namespace kv
