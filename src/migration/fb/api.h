/*
** The entry points of the Firebird client library that this program calls,
** resolved at run time. Internal to the client layer: only its .cpp files
** include this header (and with it ibase.h).
*/
#pragma once

#include <ibase.h>

#include <chrono>
#include <string>
#include <type_traits>

#include "migration/fb/client_stats.h"
#include "migration/fb/handle.h"

namespace kv::fb {

// Every entry point with the kind of call it is counted as.
#define KV_FB_ENTRY_POINTS(X)                                                                           \
  X(isc_attach_database, Attach) X(isc_create_database, Attach) X(isc_detach_database, Detach)          \
  X(isc_database_info, Info) X(isc_start_transaction, Start) X(isc_commit_transaction, Commit)          \
  X(isc_rollback_transaction, Rollback) X(isc_dsql_allocate_statement, Prepare)                         \
  X(isc_dsql_prepare, Prepare) X(isc_dsql_describe, Prepare) X(isc_dsql_describe_bind, Prepare)         \
  X(isc_dsql_execute, Execute) X(isc_dsql_fetch, Fetch) X(isc_dsql_free_statement, Free)                \
  X(isc_dsql_sql_info, Prepare) X(isc_dsql_execute_immediate, Execute) X(isc_open_blob2, Blob)          \
  X(isc_get_segment, Blob) X(isc_close_blob, Blob) X(isc_service_attach, Service)                       \
  X(isc_service_detach, Service) X(isc_service_query, Service) X(isc_service_start, Service)            \
  X(fb_interpret, Other) X(isc_sqlcode, Other) X(isc_vax_integer, Other) X(isc_decode_sql_date, Other)  \
  X(isc_decode_sql_time, Other) X(isc_decode_timestamp, Other) X(fb_shutdown, Other)

static_assert(std::is_same_v<ApiHandle, FB_API_HANDLE>);

/* Adds the time from its creation to its end, and one call, to totals. */
class CallTimer {
 public:
  explicit CallTimer(CallTotals* totals) : totals_(totals), start_(std::chrono::steady_clock::now()) {}
  ~CallTimer() {
    totals_->time += std::chrono::steady_clock::now() - start_;
    ++totals_->calls;
  }
  CallTimer(const CallTimer&) = delete;
  CallTimer& operator=(const CallTimer&) = delete;

 private:
  CallTotals* totals_;
  std::chrono::steady_clock::time_point start_;
};

/* One entry point: called like the function itself (with its own parameter
** types, so arguments convert as in a direct call), it counts the call and adds
** its time to the totals of its kind, which belong to the Client. */
template <class Fn>
struct Timed;

template <class R, class... P>
struct Timed<R (*)(P...)> {
  R (*fn)(P...) = nullptr;
  CallTotals* totals = nullptr;
  R operator()(P... p) const {
    CallTimer timer(totals);
    return fn(p...);
  }
};

// isc_start_transaction takes its attachments as variable arguments.
template <class R, class... P>
struct Timed<R (*)(P..., ...)> {
  R (*fn)(P..., ...) = nullptr;
  CallTotals* totals = nullptr;
  template <class... V>
  R operator()(P... p, V... v) const {
    CallTimer timer(totals);
    return fn(p..., v...);
  }
};

struct Api;

/* Throws fb::Error with the engine's message when status holds an error. */
void Check(const Api& api, const ISC_STATUS* status);

inline bool Failed(const ISC_STATUS* status) { return status[0] == 1 && status[1] != 0; }

struct Api {
#define KV_FB_MEMBER(name, kind) Timed<decltype(&::name)> name;
  KV_FB_ENTRY_POINTS(KV_FB_MEMBER)
#undef KV_FB_MEMBER

  /* Calls entry with a status vector of its own before args and throws
  ** fb::Error with the engine's message when the call fails; else returns
  ** what entry returned. The arguments convert as in a direct call. */
  template <class R, class... P>
  R Checked(const Timed<R (*)(ISC_STATUS*, P...)>& entry, std::type_identity_t<P>... args) const {
    ISC_STATUS_ARRAY status{};
    R result = entry(status, args...);
    Check(*this, status);
    return result;
  }
  // An entry point with variable arguments takes them as they come.
  template <class R, class... P, class... A>
  R Checked(const Timed<R (*)(ISC_STATUS*, P..., ...)>& entry, A... args) const {
    ISC_STATUS_ARRAY status{};
    R result = entry(status, args...);
    Check(*this, status);
    return result;
  }

  /* The same for a call whose failure is expected and handled by the caller
  ** (clean-up, a probe): true when it succeeded. */
  template <class R, class... P>
  bool Unchecked(const Timed<R (*)(ISC_STATUS*, P...)>& entry, std::type_identity_t<P>... args) const {
    ISC_STATUS_ARRAY status{};
    entry(status, args...);
    return !Failed(status);
  }
};

/* Detaches now; throws fb::Error when the engine refuses. The engine keeps the
** handle on failure; it is dropped all the same, so that nothing retries. */
void Detach(AttachmentHandle& attachment);

/* The engine's message for an error status. */
std::string ErrorText(const Api& api, const ISC_STATUS* status);

}  // namespace kv::fb
