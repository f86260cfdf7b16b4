/*
** The operations that commit more than once or guard their data work by the
** schema, each on a small database of its own: how to set it up and how to run
** it. A process that runs one can be killed after any of its commits; a rerun
** must then end where an uninterrupted run ends.
*/
#pragma once

#include <string>
#include <vector>

#include "migration/context.h"
#include "support/commit_killer.h"

namespace kv::test {

/* The names of the operations, in the order the test tries them. */
std::vector<std::string> CrashOperations();

/* The schema operations of every kind the catalogue uses, each of which the
** test kills inside its commits. */
std::vector<std::string> DdlOperations();

/* Creates the database at path as the operation expects to find it. */
void SetUpCrashOperation(const std::string& path, const std::string& operation);

/* Runs the operation on the database dm has open. */
void RunCrashOperation(TDM1& dm, const std::string& operation);

}  // namespace kv::test
