/*
** A database's schema as text, read from the system tables: each user table
** with its columns, types and order, then generators with their values,
** triggers with their sources, and indexes. Two snapshots compare equal
** exactly when the schema (and generator values) did not change.
*/
#pragma once

#include <string>

namespace kv::test {

std::string SchemaSnapshot(const std::string& path);

/* Every row of every user table, table by table, the rows of each sorted. */
std::string RowsSnapshot(const std::string& path);

}  // namespace kv::test
