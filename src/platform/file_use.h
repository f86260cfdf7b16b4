/*
** Whether a running process uses a file now: as its program or as a library
** it has mapped. A program file in use cannot be replaced on every system.
*/
#pragma once

#include <string>

namespace kv {

/* True when some process of this machine that may be inspected runs path
** or has it mapped. */
bool FileInUse(const std::string& path);

/* True when another program holds the file exclusively, as a database engine
** holds the databases it has open. */
bool FileHeldByOther(const std::string& path);

}  // namespace kv
