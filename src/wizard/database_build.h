/*
** The start page's line for one database: its file name and the build its
** version record holds.
*/
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kv {

struct MigrationServices;

/* A database's version record. */
struct VersionRecord {
  std::int32_t version = 0, servicePack = 0, build = 0;
};

/* Reads the version record of the database file at path in a database context
** of its own; nullopt when the file does not exist or cannot be read. */
using VersionRecordReader = std::function<std::optional<VersionRecord>(const std::string& path)>;

/* The reader over real databases (ReadVersionRecordFresh); services must
** outlive it. */
VersionRecordReader FreshVersionRecordReader(MigrationServices& services);

/* The line for the database file at path with record r: the file name and
** ": " padded with blanks to 16 characters, then "сборка (", Version without
** its trailing zeros, ".", ServicePack in at least 2 digits, ".", Build in at
** least 3 digits, ")". */
std::string DatabaseBuildLine(const std::string& path, const VersionRecord& r);

}  // namespace kv
