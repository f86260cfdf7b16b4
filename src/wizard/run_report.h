/*
** What one run did, for the result file an administrator's script reads after
** an unattended rollout: the installation's folders once the registry named
** them, each database with its level before and after and its outcome, the
** backup, the run log, and whether the copy in the version folder took over.
**
** The program's start records the folders, the databases and the run log; as
** a migration listener it follows the packs, the backup and the restore. A
** database's outcome only moves up the order of DatabaseOutcome: a later
** skipped visit does not hide an upgrade, nor an upgrade a failure.
*/
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "migration/migration_observer.h"
#include "startup/install_registry.h"

namespace kv {

enum class DatabaseOutcome {
  NotVisited,  // no pack looked at it (the run stopped first, or the file is missing)
  Unchanged,   // every pack that looked at it found it past its level
  Upgraded,    // a pack did its work on it without a failed statement
  Unopenable,  // the file is there but the engine would not open it
  Failed,      // a statement failed on it
  Restored,    // put back from the backup after a failed pack
};

/* The outcome's name in the result file: "not_visited", "unchanged", ... */
std::string_view OutcomeName(DatabaseOutcome outcome);

struct DatabaseReport {
  std::string path;
  std::optional<std::int32_t> before, after;  // ServicePack levels; none when never read
  DatabaseOutcome outcome = DatabaseOutcome::NotVisited;
  int failedStatements = 0;
};

class RunReport final : public MigrationObserver {
 public:
  /* The installation's folders and its databases in the packs' order. */
  void Located(const InstallFolders& folders, const std::vector<std::string>& databases);
  void RunLogWritten(const std::string& path) { runLog_ = path; }
  /* The copy in the version folder was started and reports the run itself. */
  void HandedOver() { handedOver_ = true; }
  void SetBackupFolder(const std::string& folder) { backupFolder_ = folder; }

  const std::optional<InstallFolders>& Folders() const { return folders_; }
  const std::vector<DatabaseReport>& Databases() const { return databases_; }
  const std::string& BackupFolder() const { return backupFolder_; }
  const std::string& RunLogPath() const { return runLog_; }
  bool HandedOverToCopy() const { return handedOver_; }

  void DatabaseVisited(const std::string& path, std::int32_t before, std::int32_t after,
                       bool applied) noexcept override;
  void DatabaseUnopenable(const std::string& path, const std::string& reason) noexcept override;
  void StatementFailed(const std::string& path, const std::string& text, const std::string& reason) noexcept override;
  void BackupMade(const std::string& folder) noexcept override;
  void DatabaseRestored(const std::string& path, std::int32_t level) noexcept override;

 private:
  /* The entry of path, appended when it is new; nullptr when memory ran out. */
  DatabaseReport* Entry(const std::string& path) noexcept;

  std::optional<InstallFolders> folders_;
  std::vector<DatabaseReport> databases_;
  std::string backupFolder_, runLog_;
  bool handedOver_ = false;
};

}  // namespace kv
