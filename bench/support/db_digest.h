/*
** A database's schema and rows as text, to show that two ways of upgrading
** left the same result: tables with their columns and types in order,
** generators with their values, triggers with their sources, indexes, and
** every row of every table (rows sorted, so their storage order does not
** count). Trigger sources are compared without carriage returns.
*/
#pragma once

#include <string>
#include <vector>

#include "migration/fb/client.h"

namespace kv::bench {

/* params: the connection lines ("user_name=...", "password=..."). */
std::string DatabaseDigest(const fb::Client& client, const std::string& path, const std::vector<std::string>& params);

/* The first column of the first row of a query, as text ("" when none). */
std::string QueryText(const fb::Client& client, const std::string& path, const std::vector<std::string>& params,
                      const std::string& sql);

}  // namespace kv::bench
