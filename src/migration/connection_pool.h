/*
** The connections a run lends to its units of work: at most one kept per
** database file, so that a run attaches to each database once instead of
** once for every pack, level query and check.
**
** A context borrows the connection of a file when it opens the file and
** returns it when it closes it; between the two the connection is the
** context's alone. Each unit still starts, commits and rolls back its own
** transactions: a connection comes back with no transaction open, and the
** statements kept on it read only system tables. A kept connection that no
** longer answers (the server was lost, the attachment was ended) is dropped
** when it is next asked for, and a fresh one is opened in its place; one that
** cannot be opened leaves nothing behind, so the next unit tries again.
**
** Only the installation's own databases are kept; any other file (a scratch
** database that verifies a backup, a temporary Orders file the run deletes)
** gets a connection of its own, detached when it comes back.
**
** States: lending (kept connections, at most one lent at a time by the rule
** of one context at a time) -> closed (Close or the destructor: every kept
** connection detached, and whatever comes back later detached at once). A
** restore, which replaces the files, needs the pool closed.
*/
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "migration/connection.h"
#include "migration/context.h"

namespace kv {

class ConnectionPool {
 public:
  /* params and charset as every context attaches with; keeps connections to
  ** the files of keepable only. */
  ConnectionPool(const fb::Client& client, std::vector<std::string> params, std::string charset,
                 std::set<std::string> keepable);
  ~ConnectionPool() { Close(); }
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  /* The connection kept for path when it still answers, else a new one.
  ** Throws fb::Error when none can be opened (nothing is kept then). */
  std::unique_ptr<Connection> Borrow(const std::string& path);
  /* Takes back a connection that Borrow lent, with no transaction open. It is
  ** kept for the next unit when its file is keepable, no other connection to
  ** the file is kept and the pool is open; otherwise detached. */
  void Return(std::unique_ptr<Connection> connection) noexcept;
  /* Detaches every kept connection; from now on returns are detached too. */
  void Close() noexcept;

  bool Open() const { return open_; }
  std::size_t Kept() const { return kept_.size(); }

 private:
  const fb::Client& client_;
  std::vector<std::string> params_;
  std::string charset_;
  std::set<std::string> keepable_;
  std::map<std::string, std::unique_ptr<Connection>> kept_;
  bool open_ = true;
};

/* For its own length, the contexts of services borrow their connections from
** one pool over the installation's databases, closed on every way out. When
** a pool lends already, the outer one goes on lending and this does nothing. */
class ConnectionLending {
 public:
  explicit ConnectionLending(MigrationServices& services);
  ~ConnectionLending() { End(); }
  ConnectionLending(const ConnectionLending&) = delete;
  ConnectionLending& operator=(const ConnectionLending&) = delete;

  /* Closes the pool (every kept connection detached) and stops lending. */
  void End() noexcept;

 private:
  MigrationServices& services_;
  std::unique_ptr<ConnectionPool> pool_;  // null when an outer pool lends
};

}  // namespace kv
