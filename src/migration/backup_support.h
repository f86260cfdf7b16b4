/*
** What the backup and the restore share: the service attached as the
** installation's user, the level record of a database file, the free space of
** a folder still to be made, the service's output turned into progress, and
** the restore of one database.
*/
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "migration/backup.h"
#include "migration/fb/service.h"
#include "migration/service_progress.h"

namespace kv::backup {

/* The service parameters of the installation's user. */
std::vector<std::string> ServiceParams(const MigrationServices& services);

struct Level {
  std::int32_t servicePack = 0, build = 0;
  bool operator==(const Level&) const = default;
};

/* The level record of the database at path, read in a context of its own
** (closed again before this returns); nullopt when it cannot be read. */
std::optional<Level> ReadLevel(MigrationServices& services, const std::string& path);

/* Free bytes where folder is or would be made: the nearest folder that exists
** tells. freeBytes stands in for the file system when given. Throws
** std::filesystem::filesystem_error. */
std::uintmax_t FreeBytesOf(const FreeSpace& freeBytes, const std::string& folder);

/* "N МБ", rounded up. */
std::string Megabytes(std::uintmax_t bytes);

/* The service's output for one action on database, passed to observer as
** progress of phase. Lives as long as the action. */
class ProgressSink {
 public:
  ProgressSink(BackupObserver& observer, BackupPhase phase, std::string database)
      : observer_(observer), phase_(phase), database_(std::move(database)) {}
  fb::ServiceManager::LineSink Lines();

 private:
  BackupObserver& observer_;
  BackupPhase phase_;
  std::string database_;
  ServiceProgress progress_;
};

/* Restores the database of entry from backup as backup.h guarantees; never
** throws for the database's own failures, which are its outcome's reason. */
RestoredDatabase RestoreDatabase(MigrationServices& services, const BackupSet& backup, const BackupEntry& entry,
                                 BackupObserver& observer, const FreeSpace& freeBytes);

}  // namespace kv::backup
