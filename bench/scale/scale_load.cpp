/*
** Bulk loading through isql-fb: one EXECUTE BLOCK per table, a loop of
** inserts inside the engine, committed once.
*/
#include "scale/scale_load.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace kv::bench {
namespace {

std::int64_t Scaled(double scale, std::int64_t full) {
  return std::max<std::int64_t>(1, std::llround(static_cast<double>(full) * scale));
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

/* An EXECUTE BLOCK that runs body for i = 0 .. n-1. The body names the loop
** variable i; inside its statements the variable is written :i. */
std::string Loop(std::int64_t n, const std::string& body) {
  std::string statements;
  for (size_t k = 0; k < body.size(); ++k) {
    const bool alone = body[k] == 'i' && (k == 0 || !IsWordChar(body[k - 1])) &&
                       (k + 1 == body.size() || !IsWordChar(body[k + 1]));
    if (alone) statements += ':';
    statements += body[k];
  }
  return "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN\n"
         "  WHILE (i < " + std::to_string(n) + ") DO BEGIN\n    " + statements + "\n    i = i + 1;\n  END\nEND^\n";
}

constexpr const char* kHead = "SET TERM ^ ;\n";
constexpr const char* kTail = "COMMIT^\nSET TERM ; ^\n";

}  // namespace

ScaleRows RowsAtScale(double scale) {
  return {Scaled(scale, 1'000'000), Scaled(scale, 200'000), Scaled(scale, 200'000), Scaled(scale, 100'000),
          Scaled(scale, 100'000),   Scaled(scale, 100'000), Scaled(scale, 100'000)};
}

std::string OrdersLoad(const ScaleRows& r) {
  std::string s = kHead;
  // z_SP_02 adds the column before its conversion runs.
  s += "ALTER TABLE Product ADD pOtkos INTEGER^\nCOMMIT^\n";
  // Four products per order, keyed (NOM, NumberProduct) like the application's.
  s += Loop(r.razmer,
            "INSERT INTO Product (NOM, NumberProduct, NameProduct, Kolvo, Width, Height, KodDE, Cost) "
            "VALUES (1000 + i / 4, MOD(i, 4) + 1, 'Окно ' || i, 1, 600 + MOD(i, 900), 900 + MOD(i, 1200), 1, "
            "1000 + MOD(i, 5000));\n"
            "    INSERT INTO p_Razmer (NOM, NumberProduct, Vid, Razmer) VALUES (1000 + i / 4, MOD(i, 4) + 1, 'A', "
            "MOD(i, 60) + 1);");
  s += Loop(r.paid,
            "INSERT INTO o_Paid (NOM, DatePaid, Summa, VidPaid) VALUES (1 + i / 3, DATE '2020-01-01' + MOD(i, 1500), "
            "100 + MOD(i, 10000), CASE MOD(i, 4) WHEN 1 THEN 'B' WHEN 3 THEN 'C' ELSE '' END);");
  s += Loop(r.tint,
            "INSERT INTO k_Price VALUES (1000 + i / 8, MOD(i, 4) + 1, MOD(i, 8) + 1, MOD(i, 30), 50 + MOD(i, 900));");
  s += Loop(r.normHours,
            "INSERT INTO O_K (NOM, NumberOperation, NameOperation, NORMHOUR) VALUES (1000 + i / 10, MOD(i, 10) + 1, "
            "'Операция', MOD(i, 2000) - 100);");
  return s + kTail;
}

std::string StockManLoad(const ScaleRows& r) {
  return kHead +
         Loop(r.stockMan,
              "INSERT INTO StockMan (KodMaterial, KodColor, NumberStock, Quantity, KolvoReserve) VALUES "
              "(1000 + i, MOD(i, 40), MOD(i, 3) + 1, MOD(i, 5000) / 8.0, 0);") +
         kTail;
}

std::string BaseLoad(const ScaleRows& r) {
  std::string s = kHead;
  // Columns that z_SP_06_1 and z_SP_12_2 add before their data steps, and
  // set_workshop as z_SP_10_1 made it, with its key generator and trigger.
  s += "ALTER TABLE set_Config ADD aLevel INTEGER^\nALTER TABLE STOCK_COLOR ADD k_Factor INTEGER^\n"
       "CREATE TABLE SET_WORKSHOP (NUMBERMAIN INT, NAME_WORKSHOP VARCHAR(255), RAMA INT, IMPOST INT, STVORKA INT, "
       "STEKLO INT, UGOL INT, MINUE INT, MAXUE INT)^\n"
       "CREATE GENERATOR GEN_SET_WORKSHOP^\nSET GENERATOR GEN_SET_WORKSHOP TO 0^\n"
       "CREATE TRIGGER BI_SET_WORKSHOP FOR SET_WORKSHOP ACTIVE BEFORE INSERT POSITION 0 AS BEGIN "
       "IF (NEW.NUMBERMAIN IS NULL) THEN NEW.NUMBERMAIN = GEN_ID(GEN_SET_WORKSHOP,1); END^\nCOMMIT^\n"
       "INSERT INTO SET_WORKSHOP (NAME_WORKSHOP, RAMA) VALUES ('Цех 1', 3)^\n";
  s += Loop(r.stockColor,
            "INSERT INTO STOCK_COLOR (KodMaterial, KodColor, Artikul, NameColor, k_Factor) VALUES (1000 + i / 20, "
            "MOD(i, 20), 'A-' || i, 'Цвет', CASE WHEN MOD(i, 10) = 0 THEN 900 END);");
  return s + kTail;
}

std::string PriceLoad(const ScaleRows& r) {
  std::string s = kHead;
  s += Loop(r.price,
            "INSERT INTO PRICE (KodMaterial, Artikul, NameMaterial, COSTBASE, COSTBASENDS, COST0, PRICESALE, "
            "PRICESALE2, DateChange) VALUES (1000 + i, 'P-' || i, 'Материал', 100, 118, 90, 150, 140, "
            "DATE '2024-01-01');\n"
            "    INSERT INTO PRICEHISTORY (NumberMain, KodMaterial, DatePrice, COSTBASE, PRICESALE) VALUES "
            "(i, 1000 + MOD(i * 7, " + std::to_string(std::max<std::int64_t>(1, r.price / 4)) +
            "), DATE '2023-01-01' + MOD(i, 365), 100, 150);");
  return s + kTail;
}

}  // namespace kv::bench
