/*
** The migration's details in the run log: each pack with its count, each
** database a pack looked at with its level before and after, and every
** failure with the database, the statement and the engine's message.
*/
#pragma once

#include <map>

#include "migration/migration_observer.h"
#include "startup/run_log.h"

namespace kv {

class RunLogObserver final : public MigrationObserver {
 public:
  explicit RunLogObserver(RunLog& log) : log_(log) {}
  void PackStarted(const std::string& pack) noexcept override;
  void PackEnded(const std::string& pack, std::int32_t count, std::int32_t expected, bool succeeded) noexcept override;
  void DatabaseVisited(const std::string& path, std::int32_t before, std::int32_t after,
                       bool applied) noexcept override;
  void VisitFellShort(const std::string& path, std::int32_t counted, std::int32_t due) noexcept override;
  void DatabaseUnopenable(const std::string& path, const std::string& reason) noexcept override;
  void StatementFailed(const std::string& path, const std::string& text, const std::string& reason) noexcept override;

 private:
  RunLog& log_;
  // Statements that failed on each database since its last visit ended: such
  // a visit is not reported as an upgrade, whatever level it left.
  std::map<std::string, int> failures_;
  // The visit that is ending fell short of its operations: counted of due.
  std::map<std::string, std::pair<std::int32_t, std::int32_t>> shortfalls_;
};

/* A failure as one block of text: the database, the engine's message and,
** when there is one, the statement (its CR LF line ends as line breaks). */
std::string DescribeFailure(const std::string& path, const std::string& text, const std::string& reason);

/* A database the engine would not open, with its reason. */
std::string DescribeRefusal(const std::string& path, const std::string& reason);

}  // namespace kv
