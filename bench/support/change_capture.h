/*
** The changes the program made to its databases, captured from the client
** layer while it ran, and written back as the script a database administrator
** would run instead: the same statements with their values in the text, in
** the order they were committed, committing only where the server needs it.
*/
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "migration/fb/execution_observer.h"

namespace kv::bench {

/* Statement text with every ":pN" replaced by the literal of params[N]
** (integers in decimal, texts quoted, unset values as NULL). Quoted literals
** and identifiers in the text are left alone. */
std::string InlineParameters(const std::string& text, std::span<const fb::ParamValue> params);

/* Collects, per database, every statement that changed something and was
** committed, and where each committed transaction ended: queries and
** statements of rolled-back transactions are left out. */
class ChangeCapture final : public fb::ExecutionObserver {
 public:
  void Executed(const std::string& database, fb::ApiHandle transaction, const std::string& text,
                std::span<const fb::ParamValue> params, bool query) noexcept override;
  void Committed(const std::string& database, fb::ApiHandle transaction) noexcept override;
  void RolledBack(const std::string& database, fb::ApiHandle transaction) noexcept override;

  /* The committed changes of a database, in commit order ("" path: none). */
  const std::vector<std::string>& Changes(const std::string& database) const;
  /* For each committed transaction of a database that changed something, in
  ** commit order, the number of its changes counted from the first. */
  const std::vector<std::size_t>& CommitEnds(const std::string& database) const;

 private:
  std::map<std::pair<std::string, fb::ApiHandle>, std::vector<std::string>> pending_;
  std::map<std::string, std::vector<std::string>> committed_;
  std::map<std::string, std::vector<std::size_t>> ends_;
};

struct AdminScript {
  std::string text;
  int statements = 0;
  int commits = 0;
};

/* One isql-fb script for the statements: DDL is not committed automatically;
** a COMMIT goes in before a data statement that follows uncommitted DDL (the
** server does not let data statements see uncommitted metadata) and at the end. */
AdminScript WriteAdminScript(std::span<const std::string> statements);

/* One isql-fb script for the statements with the program's own commits: a
** COMMIT after each transaction, ends as CommitEnds gives them. */
AdminScript WriteSameCommitsScript(std::span<const std::string> statements, std::span<const std::size_t> ends);

}  // namespace kv::bench
