/*
** Lending connections.
*/
#include "migration/connection_pool.h"

#include <new>

#include "migration/fb/error.h"

namespace kv {

ConnectionPool::ConnectionPool(const fb::Client& client, std::vector<std::string> params, std::string charset,
                               std::set<std::string> keepable)
    : client_(client), params_(std::move(params)), charset_(std::move(charset)), keepable_(std::move(keepable)) {}

std::unique_ptr<Connection> ConnectionPool::Borrow(const std::string& path) {
  if (const auto it = kept_.find(path); it != kept_.end()) {
    std::unique_ptr<Connection> kept = std::move(it->second);
    kept_.erase(it);
    if (kept->attachment().Ping()) return kept;
    // Broken under us: dropped here (its detach fails quietly), opened afresh below.
  }
  return std::make_unique<Connection>(client_, path, params_, charset_);
}

void ConnectionPool::Return(std::unique_ptr<Connection> connection) noexcept {
  if (!connection || !open_) return;
  const std::string& path = connection->path();  // lives with the connection, which is not moved
  if (!keepable_.count(path) || kept_.count(path)) return;
  try {
    kept_.emplace(path, std::move(connection));
  } catch (const std::bad_alloc&) {
    // Out of memory: the connection is detached instead of kept.
  }
}

void ConnectionPool::Close() noexcept {
  open_ = false;
  kept_.clear();
}

ConnectionLending::ConnectionLending(MigrationServices& services) : services_(services) {
  if (services_.pool) return;
  const Installation& inst = services_.installation;
  const std::vector<std::string> known = KnownPaths(inst.databases, kPackDatabases);
  std::set<std::string> keepable(known.begin(), known.end());
  pool_ = std::make_unique<ConnectionPool>(
      services_.client, std::vector<std::string>{inst.connection.userLine, inst.connection.passwordLine},
      kConnectionCharset, std::move(keepable));
  services_.pool = pool_.get();
}

void ConnectionLending::End() noexcept {
  if (!pool_) return;
  services_.pool = nullptr;
  pool_->Close();
  pool_.reset();
}

}  // namespace kv
