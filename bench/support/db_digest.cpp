/*
** Reading a database's schema and rows as text.
*/
#include "support/db_digest.h"

#include <algorithm>

#include "migration/fb/attachment.h"
#include "migration/fb/statement.h"
#include "migration/fb/transaction.h"

namespace kv::bench {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Query(fb::Attachment& att, const std::string& sql) {
  fb::Transaction tr(att, fb::Isolation::ReadCommittedNoWait);
  fb::Statement st(tr, sql);
  st.Execute(tr);
  Rows rows;
  while (st.Fetch()) {
    std::vector<std::string> row;
    for (int i = 0; i < st.ColumnCount(); ++i) row.push_back(st.IsNull(i) ? "<null>" : st.AsText(i));
    rows.push_back(std::move(row));
  }
  st.CloseCursor();
  tr.Commit();
  return rows;
}

std::string Joined(const std::vector<std::string>& row) {
  std::string out;
  for (const std::string& field : row) {
    if (!out.empty()) out += " | ";
    out += field;
  }
  return out;
}

constexpr const char* kColumns =
    "SELECT TRIM(rf.RDB$RELATION_NAME), TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, f.RDB$FIELD_SUB_TYPE, "
    "f.RDB$FIELD_LENGTH, f.RDB$FIELD_PRECISION, f.RDB$FIELD_SCALE, f.RDB$CHARACTER_LENGTH, "
    "COALESCE(rf.RDB$NULL_FLAG, 0) "
    "FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
    "JOIN RDB$RELATIONS r ON r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME "
    "WHERE COALESCE(r.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1, rf.RDB$FIELD_POSITION";
constexpr const char* kGenerators =
    "SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1";
constexpr const char* kTriggers =
    "SELECT TRIM(RDB$TRIGGER_NAME), TRIM(RDB$RELATION_NAME), RDB$TRIGGER_TYPE, RDB$TRIGGER_SEQUENCE, "
    "COALESCE(RDB$TRIGGER_INACTIVE, 0), RDB$TRIGGER_SOURCE FROM RDB$TRIGGERS "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1";
constexpr const char* kIndexes =
    "SELECT TRIM(i.RDB$INDEX_NAME), TRIM(i.RDB$RELATION_NAME), COALESCE(i.RDB$UNIQUE_FLAG, 0), "
    "COALESCE(i.RDB$INDEX_INACTIVE, 0), (SELECT LIST(TRIM(s.RDB$FIELD_NAME)) FROM RDB$INDEX_SEGMENTS s "
    "WHERE s.RDB$INDEX_NAME = i.RDB$INDEX_NAME) FROM RDB$INDICES i "
    "WHERE COALESCE(i.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1";

}  // namespace

std::string DatabaseDigest(const fb::Client& client, const std::string& path, const std::vector<std::string>& params) {
  fb::Attachment att(client, path, params, "UTF8");
  std::string out, table;
  std::vector<std::string> tables;
  for (const auto& c : Query(att, kColumns)) {
    if (c[0] != table) {
      tables.push_back(table = c[0]);
      out += "table " + table + "\n";
    }
    out += "  " + Joined({c.begin() + 1, c.end()}) + "\n";
  }
  for (const auto& g : Query(att, kGenerators))
    out += "generator " + g[0] + " = " + Query(att, "SELECT GEN_ID(" + g[0] + ", 0) FROM RDB$DATABASE")[0][0] + "\n";
  for (auto& t : Query(att, kTriggers)) {
    // isql-fb reads its scripts line by line and stores trigger sources with
    // bare line feeds; the program sends CR LF. Line ends are not compared.
    std::string& source = t.back();
    source.erase(std::remove(source.begin(), source.end(), '\r'), source.end());
    out += "trigger " + Joined(t) + "\n";
  }
  for (const auto& i : Query(att, kIndexes)) out += "index " + Joined(i) + "\n";
  for (const std::string& name : tables) {
    std::vector<std::string> rows;
    for (const auto& r : Query(att, "SELECT * FROM " + name)) rows.push_back(Joined(r));
    std::sort(rows.begin(), rows.end());
    out += "rows of " + name + "\n";
    for (const std::string& r : rows) out += "  " + r + "\n";
  }
  return out;
}

std::string QueryText(const fb::Client& client, const std::string& path, const std::vector<std::string>& params,
                      const std::string& sql) {
  fb::Attachment att(client, path, params, "UTF8");
  Rows rows = Query(att, sql);
  return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
}

}  // namespace kv::bench
