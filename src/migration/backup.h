/*
** A verified backup of the installation's databases before a run changes
** them, and the restore of such a backup.
**
** A backup is one folder, <root>/YYYYMMDD-HHMMSS/, holding one .fbk file per
** database and manifest.txt: one line per database with its path, its level
** (ServicePack and Build), its file size and its backup file, tab-separated.
** Each backup file is made by the service manager and verified by restoring it
** into a temporary database and reading the level record back, before any pack
** runs. The restore replaces each database from its backup file as the
** installation's user, so that ownership and privileges stay as they were.
*/
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "migration/context.h"
#include "platform/clock.h"

namespace kv {

/* A backup that cannot be made, verified, found or restored; the message is
** the operator's (Russian) and names the folder or the database. */
class BackupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BackupEntry {
  std::string database;     // the database's path
  std::int32_t servicePack = 0, build = 0;
  std::uint64_t size = 0;   // of the database file when it was backed up
  std::string file;         // the backup file's name inside the folder
};

struct BackupSet {
  std::string folder;  // ends in the path separator
  std::vector<BackupEntry> entries;
};

/* What the backup and the restore report while they work. */
class BackupObserver {
 public:
  virtual ~BackupObserver() = default;
  virtual void BackingUp(const std::string& /*database*/) {}
  virtual void BackedUp(const BackupEntry& /*entry*/) {}
  virtual void Restoring(const BackupEntry& /*entry*/) {}
};

struct BackupSettings {
  std::string root;  // the folder the dated backup folders go in, with a trailing separator
  /* Free bytes in a folder; the real file system's by default. */
  std::function<std::uintmax_t(const std::string& folder)> freeBytes;
};

/* The databases a run may change: the installation's files that exist, in
** the packs' order, without the temporary Orders files (the run deletes them). */
std::vector<std::string> DatabasesToBackUp(const Installation& installation, FileSystem& fs);

/* The backup folder's root for an installation: <version folder>Backup/. */
std::string BackupRoot(const InstallFolders& folders);

/* Backs up every database of databases into a new folder named by now, after
** checking that the folder has room for them, and verifies each backup.
** Throws BackupError (nothing is left of a backup that failed). */
BackupSet MakeBackup(MigrationServices& services, const std::vector<std::string>& databases,
                     const BackupSettings& settings, const LocalDateTime& now, BackupObserver& observer);

/* Reads the manifest of the backup in folder. Throws BackupError. */
BackupSet ReadBackup(const std::string& folder);

/* True when every database of backup belongs to the installation. */
bool BackupMatches(const BackupSet& backup, const Installation& installation);

/* How long a restore waits at its end for the engine to finish with the
** restored databases (see RestoreBackup). */
inline constexpr std::chrono::milliseconds kRestoreSettle{1000};

/* Restores every database of backup, after checking that no other
** attachment holds any of them; the pool of services, if one lends, is closed
** first. Throws BackupError naming the database. */
void RestoreBackup(MigrationServices& services, const BackupSet& backup, BackupObserver& observer);

/* Removes the oldest backup folders under root so that keep remain; never
** the folder current. Returns the folders removed. */
std::vector<std::string> PruneBackups(const std::string& root, int keep, const std::string& current);

}  // namespace kv
