/*
** Column type codes: the short texts ("i", "t255", "m4") by which the service
** packs name the SQL type of a column they add or change.
*/
#pragma once

#include <string>

namespace kv {

/* The SQL type text of a code. Texts that are not codes pass through unchanged. */
std::string ColumnTypeSql(const std::string& code);

}  // namespace kv
