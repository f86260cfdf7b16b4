/*
** Copying database files for a measurement: the copy is flushed to disk
** before it is used, so that the first synchronous write of the engine does
** not pay for writing the whole copied file.
*/
#pragma once

#include <string>

namespace kv::bench {

/* Flushes the file's data to disk. Throws std::runtime_error. */
void SyncFile(const std::string& path);

/* Copies from to to (replacing it) and flushes the copy. Throws. */
void CopyDatabaseFile(const std::string& from, const std::string& to);

}  // namespace kv::bench
