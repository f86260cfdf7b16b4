/*
** What the program spent inside the Firebird client library: the number of
** calls and the time of each kind of call. Every call through the client's
** entry-point table is counted and timed (two steady-clock reads, a few tens of
** nanoseconds), so the figures are always there to read.
*/
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string_view>

namespace kv::fb {

/* The kinds of call, each a group of entry points. */
enum class ClientCall : unsigned char {
  Attach,     // isc_attach_database
  Detach,     // isc_detach_database
  Info,       // isc_database_info
  Start,      // isc_start_transaction
  Commit,     // isc_commit_transaction
  Rollback,   // isc_rollback_transaction
  Prepare,    // allocate, prepare, describe, describe_bind, sql_info
  Execute,    // isc_dsql_execute, isc_dsql_execute_immediate
  Fetch,      // isc_dsql_fetch
  Free,       // isc_dsql_free_statement
  Blob,       // open, get_segment, close
  Service,    // the service manager's attach, query, detach
  Other,      // status interpretation, integer and date decoding, shutdown
};
inline constexpr std::size_t kClientCallKinds = 13;
static_assert(static_cast<std::size_t>(ClientCall::Other) + 1 == kClientCallKinds);

/* Its name in reports, e.g. "attach". */
std::string_view ClientCallName(ClientCall call);

struct CallTotals {
  std::uint64_t calls = 0;
  std::chrono::nanoseconds time{0};
};

/* Totals per kind of call. A plain value: copy it to keep a reading, subtract
** two readings for what happened in between. */
class ClientStats {
 public:
  const CallTotals& operator[](ClientCall call) const { return totals_[static_cast<std::size_t>(call)]; }
  CallTotals& operator[](ClientCall call) { return totals_[static_cast<std::size_t>(call)]; }

  std::uint64_t Attachments() const { return (*this)[ClientCall::Attach].calls; }
  std::uint64_t Commits() const { return (*this)[ClientCall::Commit].calls; }
  /* Calls and time of every kind together. */
  CallTotals Total() const;

  /* What happened between an earlier reading and this one. */
  ClientStats operator-(const ClientStats& earlier) const;
  /* Two spans of calls together. */
  ClientStats operator+(const ClientStats& other) const;

 private:
  std::array<CallTotals, kClientCallKinds> totals_{};
};

}  // namespace kv::fb
