/*
** A verified backup of the installation's databases before a run changes
** them, and the restore of such a backup.
**
** A backup is one folder, <root>/YYYYMMDD-HHMMSS/, holding one .fbk file per
** database and manifest.txt: one line per database with its path, its level
** (ServicePack and Build), its file size, its backup file and that file's
** size, tab-separated. Each backup file is made by the service manager and
** verified by restoring it into a temporary database and reading the level
** record back, before any pack runs. Any failure while a backup is made or
** verified, of the service or of the file system, is a BackupError.
**
** What a restore guarantees. Each database is restored, as the installation's
** user (so that ownership and privileges stay as they were), into a side file
** beside it, <name>.restoring; the service's status and every line of its
** output are checked (an "ERROR:" line or a prompt for another volume is a
** failure even when the status says success), and the side file's level
** record must equal the manifest's. Only then does the side file take the
** database's place, by rename: the original is kept as <name>.before-restore
** until the side file stands in its place, then removed. So a database is
** either restored from its backup or left exactly as it was, never anything
** between; a database that fails is named with the reason and the others are
** still restored. A restore cut short is finished by the next one: an
** original left as <name>.before-restore is put back first.
**
** The side file needs room beside the database and is written by the server
** (or the embedded engine) under its own account; the rename needs the
** database closed by every attachment, the program's own included.
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
  std::uint64_t fileSize = 0;  // of the backup file; 0 when the manifest does not say
};

struct BackupSet {
  std::string folder;  // ends in the path separator
  std::vector<BackupEntry> entries;
};

/* The three actions of the service that take long on a large database. */
enum class BackupPhase { BackingUp, Verifying, Restoring };

/* What the backup and the restore report while they work. */
class BackupObserver {
 public:
  virtual ~BackupObserver() = default;
  virtual void BackingUp(const std::string& /*database*/) {}
  virtual void BackedUp(const BackupEntry& /*entry*/) {}
  virtual void Restoring(const BackupEntry& /*entry*/) {}
  /* What the service is busy with inside database, from its own output
  ** ("таблица X, 20000 записей"), at most about every kProgressInterval. */
  virtual void Progress(BackupPhase /*phase*/, const std::string& /*database*/, const std::string& /*activity*/) {}
};

/* Free bytes in a folder; the real file system's when null. */
using FreeSpace = std::function<std::uintmax_t(const std::string& folder)>;

struct BackupSettings {
  std::string root;  // the folder the dated backup folders go in, with a trailing separator
  FreeSpace freeBytes;
};

/* The databases a run may change: the installation's files that exist, in
** the packs' order, without the temporary Orders files (the run deletes them). */
std::vector<std::string> DatabasesToBackUp(const Installation& installation, FileSystem& fs);

/* The backup folder's root for an installation: <version folder>Backup/. */
std::string BackupRoot(const InstallFolders& folders);

/* Backs up every database of databases into a new folder named by now, after
** checking that the folder has room for them, and verifies each backup.
** Throws BackupError with the reason for any failure, the file system's
** included (nothing is left of a backup that failed). */
BackupSet MakeBackup(MigrationServices& services, const std::vector<std::string>& databases,
                     const BackupSettings& settings, const LocalDateTime& now, BackupObserver& observer);

/* Reads the manifest of the backup in folder. Throws BackupError when it is
** missing or malformed; a backup file that is missing is the restore's to
** report, for its database alone. */
BackupSet ReadBackup(const std::string& folder);

/* True when every database of backup belongs to the installation. */
bool BackupMatches(const BackupSet& backup, const Installation& installation);

/* How long a restore waits at its end for the engine to finish with the
** restored databases (see RestoreBackup). */
inline constexpr std::chrono::milliseconds kRestoreSettle{1000};

/* What became of one database of a restore. */
struct RestoredDatabase {
  BackupEntry entry;
  bool restored = false;
  std::string reason;  // why it was left as it was (the operator's words); "" when restored
};

struct RestoreReport {
  std::vector<RestoredDatabase> databases;  // in the manifest's order
  bool AllRestored() const;
  /* One line per database left as it was: its path, then the reason. */
  std::string NotRestored() const;
};

/* Restores every database of backup as the guarantee above says, after
** checking that no other attachment holds any of them (the pool of services,
** if one lends, is closed first); throws BackupError
** naming the database when one does (nothing is restored then). Otherwise
** returns what became of each database. freeBytes tells the room beside a
** database for its side file. */
RestoreReport RestoreBackup(MigrationServices& services, const BackupSet& backup, BackupObserver& observer,
                            const FreeSpace& freeBytes = nullptr);

/* Removes the oldest backup folders under root so that keep remain; never
** the folder current. Returns the folders removed (a folder that could not be
** removed is not among them). */
std::vector<std::string> PruneBackups(const std::string& root, int keep, const std::string& current);

}  // namespace kv
