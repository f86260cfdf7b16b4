/*
** Real Firebird databases for tests: created in a private folder, owned by the
** installation user, with forced writes off for speed; and a side connection
** for setting up rows and reading the system tables afterwards.
*/
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "migration/context.h"
#include "migration/fb/client.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace kv::test {

/* The client library, loaded once per test program. */
const fb::Client& TestClient();
/* The same client, for tests that register an execution observer on it. */
fb::Client& ObservableTestClient();

/* Backs the database up through the service manager (and throws fb::Error when
** it cannot): every page and record of it can be read. */
void VerifyReadable(const std::string& path, int user = 1);

/* Creates a database owned by user kv5.<owner> and runs statements in it, each
** committed on its own. */
void CreateTestDatabase(const std::string& path, const std::vector<std::string>& statements, int owner = 1);

/* Creates a database at path (and its folders) with a version record at
** Version 700, the given ServicePack and Build 0. */
void CreateLevelDatabase(const std::string& path, int servicePack, int owner = 1);

/* Runs statements on an existing database as kv5.<user>, each committed on its own. */
void Exec(const std::string& path, const std::vector<std::string>& statements, int user = 1);

using Rows = std::vector<std::vector<std::string>>;

/* One attachment for many queries (attaching costs milliseconds). */
class TestSession {
 public:
  explicit TestSession(const std::string& path, int user = 1);
  ~TestSession();
  /* Rows of a query as text (null reads as "<null>", blanks at the ends trimmed). */
  Rows Query(const std::string& sql);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

/* SQL giving "NAME TYPE" of the columns of user tables, in table and column
** order, as (table, column text) rows; one table when table is not empty. */
std::string ColumnsSql(const std::string& table);

/* Rows of a query as text (null reads as "<null>"). */
std::vector<std::vector<std::string>> Query(const std::string& path, const std::string& sql, int user = 1);
/* First column of the first row, or "" when there is none. */
std::string QueryValue(const std::string& path, const std::string& sql, int user = 1);

/* Columns of a table in their order, as "NAME TYPE" (e.g. "KODWORK INTEGER"). */
std::vector<std::string> Columns(const std::string& path, const std::string& table);
/* The type of one column ("NUMERIC(12,4)"), "" when it does not exist. */
std::string ColumnType(const std::string& path, const std::string& table, const std::string& column);
bool HasGenerator(const std::string& path, const std::string& name);
long long GeneratorValue(const std::string& path, const std::string& name);
/* Source of a trigger, "" when it does not exist. */
std::string TriggerSource(const std::string& path, const std::string& name);
bool HasTable(const std::string& path, const std::string& table);

/* What a database context needs besides an installation: a recording operator,
** a fixed clock, the server's version state and progress without a gauge. */
struct ContextSurroundings {
  RecordingDialog dialog;
  FixedClock clock;
  FirebirdVersionState version;
  PackProgress progress{nullptr, clock};
};

/* A complete set of surroundings for database contexts: an installation whose
** data folder is in a temporary folder, a recording operator and a fixed clock. */
class MigrationHarness : public ContextSurroundings {
 public:
  explicit MigrationHarness(int installationNumber = 1, bool numbered = false);

  MigrationServices& services() { return services_; }
  std::unique_ptr<TDM1> NewContext() { return std::make_unique<TDM1>(services_); }

  /* Every database path of the installation, in the packs' order. */
  std::vector<std::string> AllDatabases() const;

  /* A path for a database named file in the temporary folder. */
  std::string Db(const std::string& file) const { return dir.Path() + file; }

  TempDir dir;
  Installation installation;

 private:
  MigrationServices services_;
};

}  // namespace kv::test
