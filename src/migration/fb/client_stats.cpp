/*
** Totals of the client library calls.
*/
#include "migration/fb/client_stats.h"

namespace kv::fb {

std::string_view ClientCallName(ClientCall call) {
  switch (call) {
    case ClientCall::Attach: return "attach";
    case ClientCall::Detach: return "detach";
    case ClientCall::Info: return "database info";
    case ClientCall::Start: return "start transaction";
    case ClientCall::Commit: return "commit";
    case ClientCall::Rollback: return "rollback";
    case ClientCall::Prepare: return "prepare";
    case ClientCall::Execute: return "execute";
    case ClientCall::Fetch: return "fetch";
    case ClientCall::Free: return "free statement";
    case ClientCall::Blob: return "blob";
    case ClientCall::Service: return "service manager";
    case ClientCall::Other: return "other";
  }
  return "?";
}

CallTotals ClientStats::Total() const {
  CallTotals sum;
  for (const CallTotals& t : totals_) {
    sum.calls += t.calls;
    sum.time += t.time;
  }
  return sum;
}

ClientStats ClientStats::operator-(const ClientStats& earlier) const {
  ClientStats d;
  for (std::size_t i = 0; i < kClientCallKinds; ++i) {
    d.totals_[i].calls = totals_[i].calls - earlier.totals_[i].calls;
    d.totals_[i].time = totals_[i].time - earlier.totals_[i].time;
  }
  return d;
}

ClientStats ClientStats::operator+(const ClientStats& other) const {
  ClientStats sum;
  for (std::size_t i = 0; i < kClientCallKinds; ++i) {
    sum.totals_[i].calls = totals_[i].calls + other.totals_[i].calls;
    sum.totals_[i].time = totals_[i].time + other.totals_[i].time;
  }
  return sum;
}

}  // namespace kv::fb
