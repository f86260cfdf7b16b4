// The SQL types the packs' column type codes stand for.
#include "migration/column_type.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ColumnTypeSql, CodesOfThePacksAndTheQuirksOfTheTable) {
  const std::pair<const char*, const char*> cases[] = {
      {"i", "INTEGER"}, {"s", "SMALLINT"}, {"g", "BIGINT"}, {"d", "DATE"}, {"e", "TIME"}, {"f", "FLOAT"},
      {"p", "TIMESTAMP"}, {"t255", "VARCHAR(255)"}, {"t1", "VARCHAR(1)"}, {"b1", "BLOB SUB_TYPE 1"},
      {"m4", "NUMERIC(12,4)"}, {"n28", "NUMERIC(8,2)"}, {"z4", "NUMERIC(18,4)"}, {"z2", "NUMERIC(18,2)"},
      // Only the second character counts for b, m, n, z; i ignores the rest.
      {"m12", "NUMERIC(12,1)"}, {"i32", "INTEGER"}, {"b12", "BLOB SUB_TYPE 1"},
      // t copies everything, even nothing.
      {"t", "VARCHAR()"}, {"timestamp", "VARCHAR(imestamp)"}, {"numeric(15,2)", "NUMERIC(8,u)"},
      // Not codes: unchanged.
      {"T255", "T255"}, {"NUMERIC(15,2)", "NUMERIC(15,2)"}, {"INTEGER", "INTEGER"}, {"c", "c"}, {"", ""},
  };
  for (auto [code, sql] : cases) EXPECT_EQ(ColumnTypeSql(code), sql) << code;
}

}  // namespace
}  // namespace kv
