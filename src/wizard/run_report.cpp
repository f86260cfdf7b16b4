/*
** The record of what a run did.
*/
#include "wizard/run_report.h"

#include <algorithm>
#include <new>

namespace kv {

namespace {

void Raise(DatabaseReport& d, DatabaseOutcome outcome) { d.outcome = std::max(d.outcome, outcome); }

}  // namespace

std::string_view OutcomeName(DatabaseOutcome outcome) {
  switch (outcome) {
    case DatabaseOutcome::NotVisited: return "not_visited";
    case DatabaseOutcome::Unchanged: return "unchanged";
    case DatabaseOutcome::Upgraded: return "upgraded";
    case DatabaseOutcome::Unopenable: return "unopenable";
    case DatabaseOutcome::Failed: return "failed";
    case DatabaseOutcome::Restored: return "restored";
  }
  return "unknown";
}

void RunReport::Located(const InstallFolders& folders, const std::vector<std::string>& databases) {
  folders_ = folders;
  for (const std::string& path : databases) Entry(path);
}

DatabaseReport* RunReport::Entry(const std::string& path) noexcept {
  try {
    for (DatabaseReport& d : databases_)
      if (d.path == path) return &d;
    DatabaseReport added;
    added.path = path;
    databases_.push_back(std::move(added));
    return &databases_.back();
  } catch (const std::bad_alloc&) {
    return nullptr;  // the database is left out of the report; an observer has no one to tell
  }
}

void RunReport::DatabaseVisited(const std::string& path, std::int32_t before, std::int32_t after,
                                bool applied) noexcept {
  DatabaseReport* d = Entry(path);
  if (!d) return;
  if (!d->before) d->before = before;
  d->after = after;
  Raise(*d, applied ? DatabaseOutcome::Upgraded : DatabaseOutcome::Unchanged);
}

void RunReport::DatabaseUnopenable(const std::string& path, const std::string&) noexcept {
  if (DatabaseReport* d = Entry(path)) Raise(*d, DatabaseOutcome::Unopenable);
}

void RunReport::StatementFailed(const std::string& path, const std::string&, const std::string&) noexcept {
  // An error of the run itself names no database.
  if (path.empty()) return;
  if (DatabaseReport* d = Entry(path)) {
    ++d->failedStatements;
    Raise(*d, DatabaseOutcome::Failed);
  }
}

void RunReport::BackupMade(const std::string& folder) noexcept {
  try {
    backupFolder_ = folder;
  } catch (const std::bad_alloc&) {
    // The report then names no backup folder; the run log and the window still do.
  }
}

void RunReport::DatabaseRestored(const std::string& path, std::int32_t level) noexcept {
  if (DatabaseReport* d = Entry(path)) {
    // The backup was made before the first pack: its level is the one the run started from.
    if (!d->before) d->before = level;
    d->after = level;
    Raise(*d, DatabaseOutcome::Restored);
  }
}

}  // namespace kv
