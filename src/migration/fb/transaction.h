/*
** One transaction: started by the constructor; the destructor rolls back
** whatever was not committed. Move-only.
*/
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "migration/fb/attachment.h"

namespace kv::fb {

enum class Isolation {
  // read-only, read committed, latest committed record version, fail at once on a lock
  ReadCommittedNoWait,
  // read-write, table stability, wait on locks up to a limit
  WriteConsistency,
};

/* How long a write transaction waits for a lock another client holds (a
** table it keeps in table-stability mode, a row it changed) before the
** statement fails with the engine's lock time-out and the holder's name. */
inline constexpr std::chrono::seconds kWriteLockTimeout{30};

class Transaction {
 public:
  /* lockTimeout bounds the waits of a write transaction; nullopt waits as
  ** long as it takes (servers before 2.0 know no limit). */
  Transaction(Attachment& attachment, Isolation isolation,
              std::optional<std::chrono::seconds> lockTimeout = kWriteLockTimeout);
  ~Transaction();
  Transaction(Transaction&&) noexcept = default;
  Transaction& operator=(Transaction&&) = delete;
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  /* Ends the transaction keeping its work. Throws fb::Error, after which the
  ** transaction is still active and may be rolled back. */
  void Commit();
  /* Ends the transaction undoing its work; never throws. */
  void Rollback() noexcept;
  bool Active() const { return static_cast<bool>(handle_); }

  Attachment& attachment() { return *attachment_; }
  ApiHandle* handle() { return handle_.Addr(); }

 private:
  Attachment* attachment_;
  TransactionHandle handle_;
};

}  // namespace kv::fb
