// Test databases and the client the tests share.
#include "support/fb_test_db.h"

#include <cstdio>

#include "migration/fb/attachment.h"
#include "migration/fb/database_admin.h"
#include "migration/fb/service.h"
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

fb::Client& ObservableTestClient() {
  static std::unique_ptr<fb::Client> client = fb::Client::Load();
  return *client;
}

const fb::Client& TestClient() { return ObservableTestClient(); }

void VerifyReadable(const std::string& path, int user) {
  // A backup reads every page of every table and every format the engine keeps.
  const std::string file = path + ".verify.fbk";
  fb::ServiceManager(TestClient(), Params(user)).Backup(path, file);
  std::remove(file.c_str());
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

struct TestSession::Impl {
  fb::Attachment att;
};

TestSession::TestSession(const std::string& path, int user)
    : impl_(std::make_unique<Impl>(Impl{fb::Attachment(TestClient(), path, Params(user), "UTF8")})) {}

TestSession::~TestSession() = default;

Rows TestSession::Query(const std::string& sql) {
  fb::Transaction tr(impl_->att, fb::Isolation::ReadCommittedNoWait);
  fb::Statement st(tr, sql);
  st.Execute(tr);
  Rows rows;
  while (st.Fetch()) {
    std::vector<std::string> row;
    for (int i = 0; i < st.ColumnCount(); ++i)
      row.push_back(st.IsNull(i) ? "<null>" : std::string(TrimBlanks(st.AsText(i))));
    rows.push_back(std::move(row));
  }
  return rows;
}

Rows Query(const std::string& path, const std::string& sql, int user) { return TestSession(path, user).Query(sql); }

std::string QueryValue(const std::string& path, const std::string& sql, int user) {
  auto rows = Query(path, sql, user);
  return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
}

std::string ColumnsSql(const std::string& table) {
  // Type names as the server's metadata gives them; precision and scale for numerics.
  return "SELECT TRIM(rf.RDB$RELATION_NAME), TRIM(rf.RDB$FIELD_NAME) || ' ' || "
         "CASE "
         " WHEN f.RDB$FIELD_TYPE IN (7, 8, 16) AND f.RDB$FIELD_SUB_TYPE > 0 THEN 'NUMERIC(' || f.RDB$FIELD_PRECISION "
         "   || ',' || (-f.RDB$FIELD_SCALE) || ')' "
         " WHEN f.RDB$FIELD_TYPE = 7 THEN 'SMALLINT' WHEN f.RDB$FIELD_TYPE = 8 THEN 'INTEGER' "
         " WHEN f.RDB$FIELD_TYPE = 16 THEN 'BIGINT' WHEN f.RDB$FIELD_TYPE = 10 THEN 'FLOAT' "
         " WHEN f.RDB$FIELD_TYPE = 27 THEN 'DOUBLE' WHEN f.RDB$FIELD_TYPE = 12 THEN 'DATE' "
         " WHEN f.RDB$FIELD_TYPE = 13 THEN 'TIME' WHEN f.RDB$FIELD_TYPE = 35 THEN 'TIMESTAMP' "
         " WHEN f.RDB$FIELD_TYPE = 37 THEN 'VARCHAR(' || f.RDB$CHARACTER_LENGTH || ')' "
         " WHEN f.RDB$FIELD_TYPE = 14 THEN 'CHAR(' || f.RDB$CHARACTER_LENGTH || ')' "
         " WHEN f.RDB$FIELD_TYPE = 261 THEN 'BLOB SUB_TYPE ' || f.RDB$FIELD_SUB_TYPE "
         " ELSE 'TYPE' || f.RDB$FIELD_TYPE END "
         "FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
         "JOIN RDB$RELATIONS r ON r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME "
         "WHERE COALESCE(r.RDB$SYSTEM_FLAG, 0) = 0" +
         (table.empty() ? std::string() : " AND rf.RDB$RELATION_NAME = '" + AsciiUpper(table) + "'") +
         " ORDER BY 1, rf.RDB$FIELD_POSITION";
}

std::vector<std::string> Columns(const std::string& path, const std::string& table) {
  std::vector<std::string> out;
  for (auto& r : Query(path, ColumnsSql(table))) out.push_back(r[1]);
  return out;
}

std::string ColumnType(const std::string& path, const std::string& table, const std::string& column) {
  const std::string name = AsciiUpper(column) + " ";
  for (const std::string& c : Columns(path, table))
    if (c.rfind(name, 0) == 0) return c.substr(name.size());
  return "";
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
  return KnownPaths(installation.databases, kPackDatabases);
}

}  // namespace kv::test
