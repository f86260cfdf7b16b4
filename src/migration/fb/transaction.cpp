/*
** Transactions with the two parameter sets of the program.
*/
#include "migration/fb/transaction.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "migration/fb/api.h"

namespace kv::fb {

Transaction::Transaction(Attachment& attachment, Isolation isolation, std::optional<std::chrono::seconds> lockTimeout)
    : attachment_(&attachment), handle_({&attachment.client().api()}) {
  // The read transaction only ever reads: read-only costs the engine a quarter of a read-write one.
  static const char kRead[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version,
                               isc_tpb_nowait};
  std::string tpb;
  if (isolation == Isolation::ReadCommittedNoWait) {
    tpb.assign(kRead, sizeof kRead);
  } else {
    tpb = {isc_tpb_version3, isc_tpb_write, isc_tpb_consistency, isc_tpb_wait};
    // Without a limit a pack waits forever behind a client that keeps a table
    // it changes; with one it fails, names the lock, and a later run resumes.
    if (lockTimeout) {
      const auto seconds = static_cast<std::uint32_t>(std::max<std::chrono::seconds::rep>(lockTimeout->count(), 1));
      tpb += static_cast<char>(isc_tpb_lock_timeout);
      tpb += static_cast<char>(4);
      for (int i = 0; i < 4; ++i) tpb += static_cast<char>((seconds >> (8 * i)) & 0xFF);
    }
  }
  const Api& api = attachment.client().api();
  api.Checked(api.isc_start_transaction, handle_.Put(), short{1}, attachment.handle(), static_cast<int>(tpb.size()),
              tpb.data());
}

Transaction::~Transaction() { Rollback(); }

void Transaction::Commit() {
  if (!handle_) return;
  const Api& api = attachment_->client().api();
  const ApiHandle id = handle_.Get();
  // The engine clears the handle when the commit succeeds.
  api.Checked(api.isc_commit_transaction, handle_.Addr());
  if (ExecutionObserver* observer = attachment_->client().observer()) observer->Committed(attachment_->path(), id);
}

void Transaction::Rollback() noexcept {
  if (!handle_) return;
  if (ExecutionObserver* observer = attachment_->client().observer())
    observer->RolledBack(attachment_->path(), handle_.Get());
  // A rollback that fails (the connection is gone) leaves nothing to end.
  handle_.Reset();
}

}  // namespace kv::fb
