#include "support/fb_test_db.h"

#include "migration/fb/attachment.h"
#include "migration/fb/database_admin.h"
#include "migration/fb/statement.h"
#include "migration/fb/transaction.h"
#include "platform/paths.h"
#include "platform/text_util.h"
#include "startup/database_paths.h"
#include "startup/register_log.h"

namespace kv::test {
namespace {

std::vector<std::string> Params(int user) {
  return {"user_name=kv5." + std::to_string(user), "password=" + InstallationPassword(user)};
}

}  // namespace

const fb::Client& TestClient() {
  static std::unique_ptr<fb::Client> client = fb::Client::Load();
  return *client;
}

void CreateTestDatabase(const std::string& path, const std::vector<std::string>& statements, int owner) {
  fb::CreateDatabase(TestClient(), {path, "kv5." + std::to_string(owner), InstallationPassword(owner)});
  fb::SetForcedWrites(TestClient(), path, "kv5." + std::to_string(owner), InstallationPassword(owner), false);
  Exec(path, statements, owner);
}

void CreateLevelDatabase(const std::string& path, int servicePack, int owner) {
  RealFileSystem().CreateDirs(FolderOf(path));
  CreateTestDatabase(path,
                     {"CREATE TABLE kv_Setting (Version INTEGER, ServicePack INTEGER, Build INTEGER)",
                      "INSERT INTO kv_Setting VALUES (700, " + std::to_string(servicePack) + ", 0)"},
                     owner);
}

void Exec(const std::string& path, const std::vector<std::string>& statements, int user) {
  fb::Attachment att(TestClient(), path, Params(user), "UTF8");
  for (const std::string& sql : statements) {
    fb::Transaction tr(att, fb::Isolation::WriteConsistency);
    fb::Statement st(tr, sql);
    st.Execute(tr);
    tr.Commit();
  }
}

std::vector<std::vector<std::string>> Query(const std::string& path, const std::string& sql, int user) {
  fb::Attachment att(TestClient(), path, Params(user), "UTF8");
  fb::Transaction tr(att, fb::Isolation::ReadCommittedNoWait);
  fb::Statement st(tr, sql);
  st.Execute(tr);
  std::vector<std::vector<std::string>> rows;
  while (st.Fetch()) {
    std::vector<std::string> row;
    for (int i = 0; i < st.ColumnCount(); ++i)
      row.push_back(st.IsNull(i) ? "<null>" : std::string(TrimBlanks(st.AsText(i))));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string QueryValue(const std::string& path, const std::string& sql, int user) {
  auto rows = Query(path, sql, user);
  return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
}

std::vector<std::string> Columns(const std::string& path, const std::string& table) {
  // Type names as the server's metadata gives them; precision and scale for numerics.
  auto rows = Query(path,
                    "SELECT TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, f.RDB$FIELD_SUB_TYPE, "
                    "f.RDB$FIELD_PRECISION, f.RDB$FIELD_SCALE, f.RDB$CHARACTER_LENGTH "
                    "FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                    "WHERE rf.RDB$RELATION_NAME = '" + AsciiUpper(table) + "' ORDER BY rf.RDB$FIELD_POSITION");
  std::vector<std::string> out;
  for (auto& r : rows) {
    const int type = std::stoi(r[1]);
    const int sub = r[2] == "<null>" ? 0 : std::stoi(r[2]);
    const std::string precision = r[3], scale = r[4] == "<null>" ? "0" : std::to_string(-std::stoi(r[4]));
    std::string name;
    if ((type == 7 || type == 8 || type == 16) && sub > 0)
      name = "NUMERIC(" + precision + "," + scale + ")";
    else if (type == 7) name = "SMALLINT";
    else if (type == 8) name = "INTEGER";
    else if (type == 16) name = "BIGINT";
    else if (type == 10) name = "FLOAT";
    else if (type == 27) name = "DOUBLE";
    else if (type == 12) name = "DATE";
    else if (type == 13) name = "TIME";
    else if (type == 35) name = "TIMESTAMP";
    else if (type == 37) name = "VARCHAR(" + r[5] + ")";
    else if (type == 14) name = "CHAR(" + r[5] + ")";
    else if (type == 261) name = "BLOB SUB_TYPE " + std::to_string(sub);
    else name = "TYPE" + std::to_string(type);
    out.push_back(r[0] + " " + name);
  }
  return out;
}

bool HasGenerator(const std::string& path, const std::string& name) {
  return QueryValue(path, "SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = '" + name + "'") != "0";
}

long long GeneratorValue(const std::string& path, const std::string& name) {
  return std::stoll(QueryValue(path, "SELECT GEN_ID(" + name + ", 0) FROM RDB$DATABASE"));
}

std::string TriggerSource(const std::string& path, const std::string& name) {
  return QueryValue(path, "SELECT RDB$TRIGGER_SOURCE FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME = '" + name + "'");
}

bool HasTable(const std::string& path, const std::string& table) {
  return QueryValue(path, "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = '" + AsciiUpper(table) +
                              "'") != "0";
}

MigrationHarness::MigrationHarness(int installationNumber, bool numbered)
    : services_{TestClient(), installation, dialog, RealFileSystem(), version, progress} {
  installation.params = {installationNumber, numbered};
  installation.folders = DeriveFolders(dir / "prog", dir / "base", 2026);
  RealFileSystem().CreateDirs(installation.folders.info);
  RegisterLog log({kApplicationTitle, "/kvupgrade", installation.folders.info, installation.folders.registerLog},
                  RealFileSystem(), clock, dialog);
  auto locations = SetDatabasePaths(installation.folders, installation.params, log);
  installation.databases = locations->paths;
  installation.connection = locations->connection;
}

std::vector<std::string> MigrationHarness::AllDatabases() const {
  const DatabasePaths& p = installation.databases;
  return {p.base, p.config, p.orders, p.serverOrders, p.director, p.price, p.stockMan, p.optima, p.system};
}

}  // namespace kv::test
