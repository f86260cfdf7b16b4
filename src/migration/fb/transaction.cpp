/*
** Transactions with the two fixed parameter sets of the program.
*/
#include "migration/fb/transaction.h"

#include <utility>

#include "migration/fb/api.h"

namespace kv::fb {

Transaction::Transaction(Attachment& attachment, Isolation isolation)
    : attachment_(&attachment), handle_({&attachment.client().api()}) {
  // The read transaction only ever reads: read-only costs the engine a quarter of a read-write one.
  static const char kRead[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version,
                               isc_tpb_nowait};
  static const char kWrite[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_consistency, isc_tpb_wait};
  const bool read = isolation == Isolation::ReadCommittedNoWait;
  const Api& api = attachment.client().api();
  api.Checked(api.isc_start_transaction, handle_.Put(), short{1}, attachment.handle(),
              read ? int{sizeof kRead} : int{sizeof kWrite}, read ? kRead : kWrite);
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
