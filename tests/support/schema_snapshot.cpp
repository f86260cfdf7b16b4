// A text snapshot of a database's schema for comparisons.
#include "support/schema_snapshot.h"

#include <algorithm>

#include "support/fb_test_db.h"

namespace kv::test {

std::string SchemaSnapshot(const std::string& path) {
  TestSession db(path);
  std::string out, table;
  for (auto& c : db.Query(ColumnsSql(""))) {
    if (c[0] != table) out += "table " + (table = c[0]) + "\n";
    out += "  " + c[1] + "\n";
  }
  for (auto& g : db.Query("SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS "
                          "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"))
    out += "generator " + g[0] + " = " + db.Query("SELECT GEN_ID(" + g[0] + ", 0) FROM RDB$DATABASE")[0][0] + "\n";
  for (auto& t : db.Query("SELECT TRIM(RDB$TRIGGER_NAME), TRIM(RDB$RELATION_NAME), RDB$TRIGGER_TYPE, "
                          "RDB$TRIGGER_SOURCE FROM RDB$TRIGGERS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"))
    out += "trigger " + t[0] + " on " + t[1] + " type " + t[2] + "\n" + t[3] + "\n";
  for (auto& i : db.Query("SELECT TRIM(i.RDB$INDEX_NAME), TRIM(i.RDB$RELATION_NAME), COALESCE(i.RDB$UNIQUE_FLAG, 0), "
                          "(SELECT LIST(TRIM(s.RDB$FIELD_NAME)) FROM RDB$INDEX_SEGMENTS s "
                          " WHERE s.RDB$INDEX_NAME = i.RDB$INDEX_NAME) "
                          "FROM RDB$INDICES i WHERE COALESCE(i.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"))
    out += "index " + i[0] + " on " + i[1] + " (" + i[3] + ")" + (i[2] == "1" ? " unique" : "") + "\n";
  return out;
}

std::string RowsSnapshot(const std::string& path) {
  TestSession db(path);
  std::string out;
  for (auto& t : db.Query("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                          "AND RDB$VIEW_BLR IS NULL ORDER BY 1")) {
    // The columns by name, in their order, as SELECT * gives them: a table
    // listed without a record format lists columns no statement knows.
    std::string columns;
    for (auto& c : db.Query("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = '" + t[0] +
                            "' ORDER BY RDB$FIELD_POSITION"))
      columns += (columns.empty() ? "\"" : ", \"") + c[0] + "\"";
    std::vector<std::string> rows;
    for (auto& r : db.Query("SELECT " + (columns.empty() ? std::string("*") : columns) + " FROM \"" + t[0] + "\"")) {
      std::string line;
      for (auto& v : r) line += v + "|";
      rows.push_back(line);
    }
    std::sort(rows.begin(), rows.end());
    out += "rows of " + t[0] + "\n";
    for (auto& r : rows) out += "  " + r + "\n";
  }
  return out;
}

}  // namespace kv::test
