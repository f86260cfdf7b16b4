/*
** The entry points of the Firebird client library that this program calls,
** resolved at run time. Internal to the client layer: only its .cpp files
** include this header (and with it ibase.h).
*/
#pragma once

#include <ibase.h>

#include <string>
#include <type_traits>

#include "migration/fb/handle.h"

namespace kv::fb {

#define KV_FB_ENTRY_POINTS(X)                                                                  \
  X(isc_attach_database) X(isc_detach_database) X(isc_database_info)                          \
  X(isc_start_transaction) X(isc_commit_transaction) X(isc_rollback_transaction) X(isc_dsql_allocate_statement)        \
  X(isc_dsql_prepare) X(isc_dsql_describe) X(isc_dsql_describe_bind) X(isc_dsql_execute)     \
  X(isc_dsql_fetch) X(isc_dsql_free_statement) X(isc_dsql_sql_info)                           \
  X(isc_dsql_execute_immediate) X(isc_open_blob2) X(isc_get_segment) X(isc_close_blob)        \
  X(isc_service_attach) X(isc_service_detach) X(isc_service_query) X(fb_interpret)            \
  X(isc_sqlcode) X(isc_vax_integer) X(isc_decode_sql_date) X(isc_decode_sql_time) \
  X(isc_decode_timestamp) X(fb_shutdown)

static_assert(std::is_same_v<ApiHandle, FB_API_HANDLE>);

struct Api {
#define KV_FB_MEMBER(name) decltype(&::name) name = nullptr;
  KV_FB_ENTRY_POINTS(KV_FB_MEMBER)
#undef KV_FB_MEMBER
};

/* Throws fb::Error with the engine's message when status holds an error. */
void Check(const Api& api, const ISC_STATUS* status);

/* The engine's message for an error status. */
std::string ErrorText(const Api& api, const ISC_STATUS* status);

}  // namespace kv::fb
