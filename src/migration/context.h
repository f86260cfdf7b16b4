/*
** The database context: the only way the program reaches its databases.
**
** One context owns one connection, pointed at one database file at a time, a
** read transaction (read committed, record version, no wait) and a write
** transaction (write, consistency, waiting on locks up to lockTimeout).
** Contexts are short-lived: one per unit of work (a pack, a level query, one
** version record), destroyed afterwards. While a run works on the databases
** the connection is borrowed from the run's pool when a file is opened and
** returned when it is closed (connection_pool.h); the transactions are the
** context's own either way, started, committed and rolled back as below.
**
** Every operation catches the engine's errors (fb::Error) at its own boundary
** and reports its outcome as a result value or a progress step; a failing
** statement is shown in the DiagnosticReport for a numbered installation and
** is passed, with the engine's message, to the migration observer always.
** Any other exception is not expected here and goes on to the caller.
**
** States of a context, and what may be open between two operations:
**
**   CLOSED    no connection, no transaction (after creation, CloseDataBase).
**   IDLE      connected; no transaction. Every operation of the version record
**             and the schema toolkit starts and ends here or in READING ...
**   READING   connected; the read transaction active. It starts with the
**             first read on the open database and lasts until the database is
**             closed (or a failed read ends it, or a caller commits it): reads
**             are not committed one by one. It only reads, read committed, so
**             each read sees every commit made before it, also the write
**             transaction's; a commit between two reads would change nothing
**             and cost the engine a transaction of its own.
**   WRITING   connected; the write transaction active. Only inside an
**             operation, with one exception: aaTableGeneratorAdd that finds
**             its set in place leaves the write transaction open, and the next
**             operation that commits (or CloseDataBase) ends it. Until then
**             every operation starts and ends in WRITING.
**
** Debug builds assert these at every operation's entry and exit
** (OperationBoundary).
**
** Glossary. The system's own names are transliterated and kept as they are:
**   TDM1    the data module: this context class
**   aa...   an operation that changes a database (aaTableAdd, aaWrite_Build)
**           or reads the version record (aaRead_ServicePack)
**   bb...   a check of the schema (bbTableControl: is the table there?) or a
**           step the aa operations build on (bbColumnPereNumber)
**   cc...   an operation on a table's rows (ccTableRowNULL empties it)
**   Pere    re-: PereName renames, PereType retypes, PereNumber moves
**   Control check (whether something exists)
**   Kolvo   count: KolvoOperation is the progress count a pack reaches
**   Zapis   write: ZapisMemo3 and ZapisLabel write into the wizard's window
*/
#pragma once

#include <cassert>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "migration/connection.h"
#include "migration/fb/client.h"
#include "migration/fb/statement.h"
#include "migration/fb/error.h"
#include "migration/fb/transaction.h"
#include "migration/migration_observer.h"
#include "migration/progress.h"
#include "migration/server_version.h"
#include "platform/dialog.h"
#include "platform/file_system.h"
#include "startup/installation.h"

namespace kv {

class ConnectionPool;

/* What a context needs from its surroundings; all outlive every context. */
struct MigrationServices {
  const fb::Client& client;
  const Installation& installation;
  OperatorDialog& dialog;
  FileSystem& fs;
  FirebirdVersionState& version;
  PackProgress& progress;
  /* While a run works on the databases: lends every context the connection
  ** of the file it opens (ConnectionLending sets it); null: each context
  ** attaches on its own. */
  ConnectionPool* pool = nullptr;
  /* Told of packs, databases and failures; null for none. */
  MigrationObserver* observer = nullptr;
  /* How long a write waits for a lock another client holds. */
  std::chrono::seconds lockTimeout = fb::kWriteLockTimeout;
};

/* What became of an attempt to open a database. */
enum class OpenResult {
  Absent,   // no path, or no file there: nothing to upgrade
  Opened,
  Refused,  // the file is there but the engine would not open it (locked, damaged, refused)
};

using Lines = std::vector<std::string>;
using Param = std::variant<std::int32_t, std::string>;
using Params = std::vector<Param>;

/* The connection character set: text in the program is UTF-8; the engine
** transliterates to each database's own set. */
inline constexpr const char* kConnectionCharset = "UTF8";

/* The text sent to the server: every line followed by CR LF. */
std::string StatementText(const Lines& lines);

class TDM1 {
 public:
  /* Creates the context and runs DataModuleCreate. */
  explicit TDM1(MigrationServices& services);
  ~TDM1();
  friend class OperationBoundary;
  TDM1(const TDM1&) = delete;
  TDM1& operator=(const TDM1&) = delete;

  // ---- connection ---------------------------------------------------------
  /* Points the connection at path and connects. False when no file is there
  ** (the connection is then left as it was) or the connection is refused. */
  bool OpenDataBase(const std::string& path);
  /* The same, telling an absent file from one the engine refused; a refusal
  ** is passed to the observer with the engine's reason. */
  OpenResult TryOpenDataBase(const std::string& path);
  /* Closes the connection (gives it back to the pool, if one lent it); open
  ** transactions are rolled back. */
  void CloseDataBase();
  bool Connected() const { return connection_ != nullptr; }
  const std::string& DatabaseName() const { return databaseName_; }

  // ---- version record -----------------------------------------------------
  std::int32_t control_Version();
  bool control_Build(std::int32_t version, std::int32_t servicePack, std::int32_t build);
  void aaWrite_ServicePack(std::int32_t n);
  void aaWrite_Build(std::int32_t n);
  bool aaRead_ServicePack(const std::string& path, std::int32_t& version, std::int32_t& servicePack,
                          std::int32_t& build);

  // ---- schema toolkit -----------------------------------------------------
  bool bbColumnControl(const std::string& table, const std::string& column);
  bool bbTableControl(const std::string& table);
  /* True when table is listed but has no record format (a CREATE TABLE whose
  ** commit was cut short, made again later): it cannot be read. */
  bool TableWithoutFormat(const std::string& table);
  /* True when GEN_<table> and BI_<table> both exist (table in upper case). */
  bool KeyGeneratorSetInPlace(const std::string& table);
  void aaTableAdd(const std::string& table, const std::string& definitions, const std::string& key,
                  std::int32_t start);
  void aaTableGeneratorAdd(const std::string& table, const std::string& key, std::int32_t start);
  void aaTableDelete(const std::string& table);
  void ccTableRowNULL(const std::string& table);
  void aaColumnAdd(const std::string& table, const std::string& column, const std::string& typeCode,
                   std::int32_t position);
  void aaColumnDelete(const std::string& table, const std::string& column);
  void aaColumnPereName(const std::string& table, const std::string& oldName, const std::string& newName);
  void aaColumnPereType(const std::string& table, const std::string& column, const std::string& typeCode);
  void bbColumnPereNumber(const std::string& table, const std::string& column, std::int32_t position);
  void aaIndexAdd(const std::string& table, const std::string& column, const std::string& kind);

  // ---- surroundings -------------------------------------------------------
  void StepProgress(std::int32_t n) { services_.progress.StepProgress(n); }
  std::int32_t KolvoOperation() const { return services_.progress.KolvoOperation(); }
  const Installation& installation() const { return services_.installation; }
  bool Numbered() const { return services_.installation.params.numbered; }
  OperatorDialog& dialog() { return services_.dialog; }

  // ---- statements, for the packs' data steps ------------------------------
  /* IBTrRead / IBTrWrite, started when not active. Throw fb::Error. */
  fb::Transaction& ReadTransaction();
  fb::Transaction& WriteTransaction();
  void CommitRead();
  void CommitWrite();
  void RollbackRead() noexcept;
  void RollbackWrite() noexcept;
  /* Commits the read transaction, or rolls it back when the commit fails. */
  void EndReadQuietly() noexcept;

  /* Prepares lines in tr and remembers them as the current statement text. */
  fb::Statement Prepare(fb::Transaction& tr, const Lines& lines);
  /* Runs lines with params in the read transaction; the first row's first
  ** column as an integer (0 for null or no row). */
  std::int32_t ReadInt(const Lines& lines, const Params& params = {});
  /* Runs lines with params in the read transaction; the first row's first
  ** column as text ("" for null or no row). */
  std::string ReadText(const Lines& lines, const Params& params = {});
  /* The same two in the write transaction (look-ups made before changes). */
  std::int32_t ReadIntInWrite(const Lines& lines, const Params& params = {});
  std::string ReadTextInWrite(const Lines& lines, const Params& params = {});
  /* Executes lines with params in the write transaction, without committing. */
  void ExecuteWrite(const Lines& lines, const Params& params = {});

  /* The write discipline: execute, commit; on error roll back and show the
  ** DiagnosticReport. True when committed. */
  bool WriteDiscipline(const Lines& lines, const Params& params = {});
  /* The same for several statements executed by statements() in one write
  ** transaction: all of them are committed, or none. */
  bool WriteDiscipline(const std::function<void()>& statements);

  /* Text of the statement prepared last (the one a failure concerns). */
  const std::string& CurrentStatementText() const { return currentText_; }
  /* Path of the open database, "\r\r", the current statement text; shown
  ** only for a numbered installation. */
  void DiagnosticReport();
  /* e to the observer (with the open database and the current statement),
  ** then the DiagnosticReport. */
  void ReportFailure(const fb::Error& e);
  /* e to the observer only: failures the operator is not shown. */
  void NoteFailure(const fb::Error& e) noexcept;
  /* True when a statement on the open database waited for another client's
  ** lock up to the limit and failed: the rest of its work would wait again. */
  bool HeldUpByLock() const { return heldUpByLock_; }
  MigrationObserver* observer() { return services_.observer; }

 private:
  void DataModuleCreate();
  bool CheckServerVersion();
  bool ConnectionAlive();
  std::optional<std::int32_t> ReadSettingColumn(const char* column);
  void CreateKeyGeneratorSet(const std::string& table, const std::string& key, std::int32_t start);
  bool CompleteKeyGeneratorSet(const std::string& table, const std::string& key, std::int32_t start);
  bool CreateTable(const std::string& table, const std::string& definitions);
  bool DropTableAndKeySet(const std::string& table);
  void DropKeyGeneratorSet(const std::string& table);
  bool ExistenceTest(const Lines& lines, const Params& params);
  fb::Statement Run(fb::Transaction& tr, const Lines& lines, const Params& params);
  /* Runs lines, a query on system tables only, in tr with the statement the
  ** connection keeps for it; the caller reads the rows, then closes the cursor. */
  fb::Statement& RunSystemQuery(fb::Transaction& tr, const Lines& lines, const Params& params);
  /* The first row's first column of a system-table query in tr, as an integer
  ** (0 for null or no row) or as text ("" likewise). */
  std::int32_t SystemInt(fb::Transaction& tr, const Lines& lines, const Params& params);
  std::string SystemText(fb::Transaction& tr, const Lines& lines, const Params& params);

  MigrationServices& services_;
  Lines params_;  // the connection's two parameter lines
  std::unique_ptr<Connection> connection_;  // own, or lent by services_.pool
  std::optional<fb::Transaction> trRead_, trWrite_;
  std::string databaseName_;
  std::string currentText_;
  bool writeLeftOpen_ = false;  // aaTableGeneratorAdd found its set in place
  bool heldUpByLock_ = false;

  /* IDLE or READING, or what the exception leaves open (see the states above). */
  bool BetweenOperations() const { return !trWrite_ || writeLeftOpen_; }
};

/* Checks the states a toolkit operation may start and end in (debug builds). */
class OperationBoundary {
 public:
  explicit OperationBoundary(const TDM1& dm) : dm_(dm) { assert(dm_.BetweenOperations()); }
  ~OperationBoundary() { assert(dm_.BetweenOperations()); }
  OperationBoundary(const OperationBoundary&) = delete;
  OperationBoundary& operator=(const OperationBoundary&) = delete;

 private:
  const TDM1& dm_;
};

}  // namespace kv
