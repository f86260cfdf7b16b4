/*
** The steps of the scale benchmark.
*/
#include "scale/scale_steps.h"

#include "migration/packs/data_steps.h"

namespace kv::bench {

using packs::Db;

std::vector<ScaleStep> ScaleSteps(const ScaleRows& r) {
  std::vector<ScaleStep> steps;
  steps.push_back(
      {"z_SP_02 pOtkos, row by row", Db::Orders, r.razmer, [](TDM1& dm) { packs::ConvertOtkos(dm); },
       // The set-based equivalent: one join instead of a statement per row.
       "MERGE INTO Product p\n"
       "USING (SELECT NOM, NumberProduct, Razmer FROM p_Razmer WHERE vid = 'A') r\n"
       "ON p.NOM = r.NOM AND p.NumberProduct = r.NumberProduct\n"
       "WHEN MATCHED THEN UPDATE SET pOtkos = r.Razmer * 100^\n"
       "DELETE FROM p_Razmer WHERE vid = 'A'^\n"
       "COMMIT^\n",
       "SELECT COUNT(pOtkos) || '/' || SUM(pOtkos) || '/' || (SELECT COUNT(*) FROM p_Razmer) FROM Product"});
  steps.push_back({"z_SP_05 payment kind", Db::Orders, r.paid, [](TDM1& dm) { packs::FillPaymentKind(dm); },
                   "UPDATE o_Paid SET VidPaid='C' WHERE VidPaid=''^\nCOMMIT^\n",
                   "SELECT VidPaid || COUNT(*) FROM o_Paid GROUP BY VidPaid ORDER BY 1 ROWS 1"});
  steps.push_back({"z_SP_06_1 aLevel", Db::Base, 3, [](TDM1& dm) { packs::SetConfigLevel(dm); },
                   "UPDATE set_Config SET aLevel=1^\nCOMMIT^\n", "SELECT SUM(aLevel) FROM set_Config"});
  steps.push_back(
      {"z_SP_08_1 tint table copy", Db::Orders, r.tint, [](TDM1& dm) { packs::MoveTintTable(dm); },
       "CREATE TABLE K_TONIROVKA (NOM INT, NUMBERPRODUCT SMALLINT, NUMBERELEMENT SMALLINT, KODCAPITAL SMALLINT, "
       "COSTCAPITAL NUMERIC(8,2))^\n"
       "COMMIT^\n"
       "INSERT INTO k_Tonirovka SELECT * FROM k_Price^\n"
       "DROP TABLE K_PRICE^\n"
       "COMMIT^\n",
       "SELECT COUNT(*) || '/' || SUM(CostCapital) || '/' || (SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
       "RDB$RELATION_NAME = 'K_PRICE') FROM k_Tonirovka"});
  steps.push_back({"z_SP_08_4 quantity conversion", Db::StockMan, r.stockMan,
                   [](TDM1& dm) { packs::ConvertQuantity(dm); },
                   "ALTER TABLE StockMan ADD Kolvo BIGINT^\n"
                   "ALTER TABLE StockMan ALTER COLUMN Kolvo POSITION 4^\n"
                   "COMMIT^\n"
                   "UPDATE StockMan SET Kolvo = Quantity * 10000^\n"
                   "ALTER TABLE StockMan DROP Quantity^\n"
                   "COMMIT^\n",
                   "SELECT COUNT(Kolvo) || '/' || SUM(Kolvo) FROM StockMan"});
  steps.push_back({"z_SP_12_1 set_workshop rebuilt", Db::Base, 9, [](TDM1& dm) { packs::RebuildWorkshopTable(dm); },
                   "DROP TRIGGER BI_SET_WORKSHOP^\n"
                   "DROP GENERATOR GEN_SET_WORKSHOP^\n"
                   "DROP TABLE SET_WORKSHOP^\n"
                   "CREATE TABLE SET_WORKSHOP (NUMBERMAIN INT, TYPE_WORK VARCHAR(2), KOLVO INT)^\n"
                   "CREATE GENERATOR GEN_SET_WORKSHOP^\n"
                   "SET GENERATOR GEN_SET_WORKSHOP TO 0^\n"
                   "CREATE TRIGGER BI_SET_WORKSHOP FOR SET_WORKSHOP ACTIVE BEFORE INSERT POSITION 0 AS BEGIN "
                   "IF (NEW.NUMBERMAIN IS NULL) THEN NEW.NUMBERMAIN = GEN_ID(GEN_SET_WORKSHOP,1); END^\n"
                   "COMMIT^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('A', 3)^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('B', 2)^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('C', 2)^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('D', 2)^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('E', 2)^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('F', 11)^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('G', 2)^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('Z1', 1000)^\n"
                   "INSERT INTO set_workshop (type_work, kolvo) VALUES ('Z2', 1050)^\n"
                   "COMMIT^\n",
                   "SELECT LIST(NumberMain || type_work || kolvo) FROM set_workshop"});
  steps.push_back({"z_SP_12_2 k_Factor", Db::Base, r.stockColor, [](TDM1& dm) { packs::FillColorFactor(dm); },
                   "UPDATE STOCK_COLOR SET k_Factor = 1000 WHERE k_Factor IS NULL^\nCOMMIT^\n",
                   "SELECT COUNT(k_Factor) || '/' || SUM(k_Factor) FROM STOCK_COLOR"});
  steps.push_back({"z_SP_12_2 norm hours (installation 8)", Db::Orders, r.normHours,
                   [](TDM1& dm) { packs::ScaleNormHours(dm); },
                   // With the mark the program commits along with it.
                   "UPDATE O_K SET NORMHOUR = NORMHOUR * 100 WHERE (NORMHOUR > 0) and (NORMHOUR < 1000)^\n"
                   "ALTER TABLE kv_Setting ADD NormHourX100 SMALLINT^\n"
                   "COMMIT^\n",
                   "SELECT SUM(NORMHOUR) FROM O_K"});
  steps.push_back({"z_SP_12_2 unique index PRICE", Db::Price, r.price,
                   [](TDM1& dm) { dm.aaIndexAdd("PRICE", "KodMaterial", "UNIQUE"); },
                   "CREATE UNIQUE INDEX PRICE_KODMATERIAL ON PRICE (KODMATERIAL)^\nCOMMIT^\n",
                   "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'PRICE_KODMATERIAL' AND "
                   "RDB$UNIQUE_FLAG = 1"});
  steps.push_back({"z_SP_12_2 index PRICEHISTORY", Db::Price, r.price,
                   [](TDM1& dm) { dm.aaIndexAdd("PRICEHISTORY", "KodMaterial", ""); },
                   "CREATE INDEX PRICEHISTORY_KODMATERIAL ON PRICEHISTORY (KODMATERIAL)^\nCOMMIT^\n",
                   "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'PRICEHISTORY_KODMATERIAL'"});
  return steps;
}

}  // namespace kv::bench
