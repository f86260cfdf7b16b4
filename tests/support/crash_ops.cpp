/*
** The operations of the crash test.
*/
#include "support/crash_ops.h"

#include <algorithm>
#include <stdexcept>

#include "migration/packs/data_steps.h"
#include "support/fb_test_db.h"

namespace kv::test {

std::vector<std::string> CrashOperations() {
  return {"table-add", "table-delete", "column-add", "tint-prices", "quantity", "workshop"};
}

std::vector<std::string> DdlOperations() {
  return {"table-add",     "table-add-bare", "table-delete",  "column-add",    "column-add-end",
          "column-rename", "column-delete",  "column-retype", "generator-set", "index-add"};
}

void SetUpCrashOperation(const std::string& path, const std::string& op) {
  if (op == "table-add") {
    CreateTestDatabase(path, {"CREATE TABLE other (a INT)"});
  } else if (op == "table-delete") {
    CreateTestDatabase(path, {"CREATE TABLE gone (id INT, v INT)", "CREATE GENERATOR GEN_GONE",
                              "SET GENERATOR GEN_GONE TO 7",
                              "CREATE TRIGGER BI_GONE FOR GONE ACTIVE BEFORE INSERT POSITION 0 AS BEGIN "
                              "IF (NEW.ID IS NULL) THEN NEW.ID = GEN_ID(GEN_GONE,1); END",
                              "INSERT INTO gone (v) VALUES (1)"});
  } else if (op == "column-add") {
    CreateTestDatabase(path, {"CREATE TABLE t (a INT, b INT, c INT)", "INSERT INTO t VALUES (1, 2, 3)"});
  } else if (op == "table-add-bare") {
    CreateTestDatabase(path, {"CREATE TABLE other (a INT)"});
  } else if (op == "column-add-end" || op == "column-delete" || op == "column-retype" || op == "index-add") {
    CreateTestDatabase(path, {"CREATE TABLE t (a INT, b INT, c VARCHAR(10))", "INSERT INTO t VALUES (1, 2, 'x')",
                              "INSERT INTO t VALUES (2, 3, 'y')"});
  } else if (op == "column-rename" || op == "generator-set") {
    std::vector<std::string> statements = {"CREATE TABLE keyed (id INT, v INT)", "INSERT INTO keyed VALUES (5, 1)"};
    if (op == "column-rename")
      statements.insert(statements.end(),
                        {"CREATE GENERATOR GEN_KEYED", "SET GENERATOR GEN_KEYED TO 57",
                         "CREATE TRIGGER BI_KEYED FOR KEYED ACTIVE BEFORE INSERT POSITION 0 AS BEGIN "
                         "IF (NEW.ID IS NULL) THEN NEW.ID = GEN_ID(GEN_KEYED,1); END"});
    CreateTestDatabase(path, statements);
  } else if (op == "tint-prices") {
    CreateTestDatabase(path, {"CREATE TABLE k_Price (Nom INT, NumberProduct SmallInt, NumberElement SmallInt, "
                              "KodCapital SmallInt, CostCapital NUMERIC(8,2))",
                              "INSERT INTO k_Price VALUES (1, 2, 3, 4, 5.5)", "INSERT INTO k_Price VALUES (2, 3, 4, 5, 6.25)"});
  } else if (op == "quantity") {
    CreateTestDatabase(path, {"CREATE TABLE StockMan (NOM INT, Name VARCHAR(10), Price INT, Quantity NUMERIC(12,4))",
                              "INSERT INTO StockMan VALUES (1, 'a', 10, 2.5)", "INSERT INTO StockMan VALUES (2, 'b', 20, 0.0001)"});
  } else if (op == "workshop") {
    CreateTestDatabase(path, {"CREATE TABLE set_workshop (NumberMain INT, name VARCHAR(20))",
                              "INSERT INTO set_workshop VALUES (1, 'old')"});
  } else {
    throw std::invalid_argument("no crash operation " + op);
  }
}

void RunCrashOperation(TDM1& dm, const std::string& op) {
  if (op == "table-add") dm.aaTableAdd("kill_t", "id INT, v INT", "id", 0);
  if (op == "table-delete") dm.aaTableDelete("gone");
  if (op == "column-add") dm.aaColumnAdd("t", "added", "i", 2);
  if (op == "table-add-bare") dm.aaTableAdd("kill_bare", "id INT, name VARCHAR(20)", "", 0);
  if (op == "column-add-end") dm.aaColumnAdd("t", "added", "t40", 0);
  if (op == "column-rename") dm.aaColumnPereName("keyed", "id", "kod");
  if (op == "column-delete") dm.aaColumnDelete("t", "b");
  if (op == "column-retype") dm.aaColumnPereType("t", "c", "t60");
  if (op == "generator-set") dm.aaTableGeneratorAdd("keyed", "id", 9);
  if (op == "index-add") dm.aaIndexAdd("t", "b", "UNIQUE");
  if (op == "tint-prices") packs::MoveTintTable(dm);
  if (op == "quantity") packs::ConvertQuantity(dm);
  if (op == "workshop") packs::RebuildWorkshopTable(dm);
}

}  // namespace kv::test
