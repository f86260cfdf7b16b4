/*
** The database context: creation, the connection, the two transactions, the
** read and write disciplines and the report of a failing statement.
*/
#include "migration/context.h"

#include <stdexcept>

#include "migration/connection_pool.h"
#include "migration/fb/error.h"
#include "migration/fb/service.h"
#include "migration/server_version.h"
#include "platform/scope_exit.h"
#include "startup/database_paths.h"

namespace kv {
std::string StatementText(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

namespace {

void Bind(fb::Statement& st, const Params& params) {
  for (size_t i = 0; i < params.size(); ++i) {
    const int n = static_cast<int>(i);
    if (auto* v = std::get_if<std::int32_t>(&params[i]))
      st.SetInt(n, *v);
    else
      st.SetText(n, std::get<std::string>(params[i]));
  }
}

}  // namespace

TDM1::TDM1(MigrationServices& services) : services_(services) { DataModuleCreate(); }

TDM1::~TDM1() { CloseDataBase(); }

void TDM1::DataModuleCreate() {
  const ConnectionSettings& c = services_.installation.connection;
  params_ = {c.userLine, c.passwordLine};
  if (services_.version.FirebirdVersion == 0 && !CheckServerVersion()) return;
  const DatabasePaths& p = services_.installation.databases;
  for (DatabaseMember tmp : kTemporaryOrders)
    if (!DeleteIfExists(services_.fs, p.*tmp)) break;
}

/* Determines FirebirdVersion; false when the create handler must end here
** (the operator answered No, or the service manager could not be asked). */
bool TDM1::CheckServerVersion() {
  auto& refused = services_.version.refusedForGood;
  if (refused.count("")) return false;  // told once already
  try {
    // The service manager stays attached while the operator is asked; it is
    // detached on every way out.
    fb::ServiceManager service(services_.client, params_);
    return AcceptServerVersion(service.ServerVersion(), services_.version, services_.dialog);
  } catch (const fb::Error& e) {
    if (e.LoginRefused() || e.ServerUnreachable()) refused[""] = e.what();
    if (services_.observer) services_.observer->StatementFailed("", "service manager: server version", e.what());
    return false;
  }
}

bool TDM1::OpenDataBase(const std::string& path) { return TryOpenDataBase(path) == OpenResult::Opened; }

OpenResult TDM1::TryOpenDataBase(const std::string& path) {
  // A database on a server by its remote name is no file here: the server says.
  if (!IsRemoteDatabaseName(path) && !services_.fs.FileExists(path)) return OpenResult::Absent;
  CloseDataBase();
  databaseName_ = path;
  heldUpByLock_ = false;
  auto& refused = services_.version.refusedForGood;
  if (const auto it = refused.find(path); it != refused.end()) {
    if (services_.observer) services_.observer->DatabaseUnopenable(path, it->second);
    return OpenResult::Refused;
  }
  try {
    connection_ = services_.pool ? services_.pool->Borrow(path)
                                 : std::make_unique<Connection>(services_.client, path, params_, kConnectionCharset);
    return OpenResult::Opened;
  } catch (const fb::Error& e) {
    if (e.LoginRefused() || e.ServerUnreachable()) refused[path] = e.what();
    if (services_.observer) services_.observer->DatabaseUnopenable(path, e.what());
    return OpenResult::Refused;
  }
}

void TDM1::CloseDataBase() {
  trRead_.reset();
  trWrite_.reset();
  writeLeftOpen_ = false;
  if (services_.pool && connection_) services_.pool->Return(std::move(connection_));
  connection_.reset();
}

bool TDM1::ConnectionAlive() { return connection_ && connection_->attachment().Ping(); }

fb::Transaction& TDM1::ReadTransaction() {
  if (!connection_) throw fb::Error("no database is open", 0);
  if (!trRead_) trRead_.emplace(connection_->attachment(), fb::Isolation::ReadCommittedNoWait);
  return *trRead_;
}

fb::Transaction& TDM1::WriteTransaction() {
  if (!connection_) throw fb::Error("no database is open", 0);
  if (!trWrite_) {
    // A server before 2.0 refuses a transaction that names a lock time-out.
    const std::int32_t server = services_.version.FirebirdVersion;
    const bool limited = !(server > 0 && server < 20);
    trWrite_.emplace(connection_->attachment(), fb::Isolation::WriteConsistency,
                     limited ? std::optional(services_.lockTimeout) : std::nullopt);
  }
  return *trWrite_;
}

void TDM1::CommitRead() {
  if (!trRead_) return;
  trRead_->Commit();
  trRead_.reset();
}

void TDM1::CommitWrite() {
  if (!trWrite_) return;
  trWrite_->Commit();
  trWrite_.reset();
  writeLeftOpen_ = false;
}

void TDM1::RollbackRead() noexcept { trRead_.reset(); }

void TDM1::EndReadQuietly() noexcept {
  // The reads end their transaction with a commit, also after a failure.
  try {
    CommitRead();
  } catch (const fb::Error&) {
    RollbackRead();
  }
}
void TDM1::RollbackWrite() noexcept {
  trWrite_.reset();
  writeLeftOpen_ = false;
}

fb::Statement TDM1::Prepare(fb::Transaction& tr, const Lines& lines) {
  currentText_ = StatementText(lines);
  return fb::Statement(tr, currentText_);
}

fb::Statement TDM1::Run(fb::Transaction& tr, const Lines& lines, const Params& params) {
  fb::Statement st = Prepare(tr, lines);
  Bind(st, params);
  st.Execute(tr);
  return st;
}

namespace {

// The first column of the first row, or 0 / "" when there is no row; of a
// statement lent by the connection or of one that ends with the call.
template <class Statement>
std::int32_t FirstInt(Statement&& st) { return st.Fetch() ? st.AsInt32(0) : 0; }
template <class Statement>
std::string FirstText(Statement&& st) { return st.Fetch() ? st.AsText(0) : std::string(); }

}  // namespace

fb::Statement& TDM1::RunSystemQuery(fb::Transaction& tr, const Lines& lines, const Params& params) {
  currentText_ = StatementText(lines);
  fb::Statement& st = connection_->SystemQuery(tr, currentText_);
  Bind(st, params);
  st.Execute(tr);
  return st;
}

std::int32_t TDM1::SystemInt(fb::Transaction& tr, const Lines& lines, const Params& params) {
  fb::Statement& st = RunSystemQuery(tr, lines, params);
  const ScopeExit close([&] { st.CloseCursor(); });
  return FirstInt(st);
}

std::string TDM1::SystemText(fb::Transaction& tr, const Lines& lines, const Params& params) {
  fb::Statement& st = RunSystemQuery(tr, lines, params);
  const ScopeExit close([&] { st.CloseCursor(); });
  return FirstText(st);
}

std::int32_t TDM1::ReadInt(const Lines& lines, const Params& params) {
  return FirstInt(Run(ReadTransaction(), lines, params));
}
std::string TDM1::ReadText(const Lines& lines, const Params& params) {
  return FirstText(Run(ReadTransaction(), lines, params));
}
std::int32_t TDM1::ReadIntInWrite(const Lines& lines, const Params& params) {
  return FirstInt(Run(WriteTransaction(), lines, params));
}
std::string TDM1::ReadTextInWrite(const Lines& lines, const Params& params) {
  return FirstText(Run(WriteTransaction(), lines, params));
}

void TDM1::ExecuteWrite(const Lines& lines, const Params& params) { Run(WriteTransaction(), lines, params); }

bool TDM1::WriteDiscipline(const Lines& lines, const Params& params) {
  return WriteDiscipline([&] { ExecuteWrite(lines, params); });
}

bool TDM1::WriteDiscipline(const std::function<void()>& statements) {
  try {
    statements();
    // Some DDL errors surface only here: a failed commit is a failed statement.
    CommitWrite();
    return true;
  } catch (const fb::Error& e) {
    RollbackWrite();
    ReportFailure(e);
    return false;
  }
}

void TDM1::DiagnosticReport() {
  if (Numbered()) services_.dialog.ShowMessage(databaseName_ + "\r\r" + currentText_);
}

void TDM1::ReportFailure(const fb::Error& e) {
  NoteFailure(e);
  DiagnosticReport();
}

void TDM1::NoteFailure(const fb::Error& e) noexcept {
  if (e.LockTimedOut()) heldUpByLock_ = true;
  if (services_.observer) services_.observer->StatementFailed(databaseName_, currentText_, e.what());
}

}  // namespace kv
