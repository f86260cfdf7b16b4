/*
** One transaction: started by the constructor; the destructor rolls back
** whatever was not committed. Move-only.
*/
#pragma once

#include <string>

#include "migration/fb/attachment.h"

namespace kv::fb {

enum class Isolation {
  // read-only, read committed, latest committed record version, fail at once on a lock
  ReadCommittedNoWait,
  // read-write, table stability, wait on locks
  WriteConsistency,
};

class Transaction {
 public:
  Transaction(Attachment& attachment, Isolation isolation);
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
