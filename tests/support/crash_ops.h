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
#include "migration/fb/execution_observer.h"

namespace kv::test {

/* The names of the operations, in the order the test tries them. */
std::vector<std::string> CrashOperations();

/* Creates the database at path as the operation expects to find it. */
void SetUpCrashOperation(const std::string& path, const std::string& operation);

/* Runs the operation on the database dm has open. */
void RunCrashOperation(TDM1& dm, const std::string& operation);

/* Kills its own process with SIGKILL right after the n-th commit of a
** transaction that changed something (a commit of reads changes nothing, so
** a kill there equals a kill before the next change). */
class KillAfterCommit final : public fb::ExecutionObserver {
 public:
  explicit KillAfterCommit(int n) : n_(n) {}
  void Executed(const std::string&, fb::ApiHandle transaction, const std::string&, std::span<const fb::ParamValue>,
                bool query) noexcept override;
  void Committed(const std::string&, fb::ApiHandle transaction) noexcept override;
  void RolledBack(const std::string&, fb::ApiHandle transaction) noexcept override;

 private:
  int n_, seen_ = 0;
  std::vector<fb::ApiHandle> dirty_;
};

}  // namespace kv::test
