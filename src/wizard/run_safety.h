/*
** What keeps an install run from losing anything, around the walk over the
** run order: before the first pack, the table-format limit and a verified
** backup of every database the run will change; after a failed pack, the
** restore of that backup, so that every database stands where it stood before
** the run. The run's own steps, texts and codes stay as they are; these add
** their own lines.
*/
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "migration/backup.h"
#include "platform/clock.h"

namespace kv {

struct InstallRunServices;

enum class RestorePolicy {
  Ask,     // the windows ask the operator
  Always,  // --restore-on-failure
  Never,   // unattended without --restore-on-failure
};

/* What the run does when other clients are connected to its databases. */
enum class ConnectionCheck {
  Ask,   // the windows name them and ask to close them: check again, or stop
  Stop,  // unattended: name them and stop
  Skip,  // not checked (the server then refuses the packs' schema changes)
};

struct RunSafety {
  ConnectionCheck connections = ConnectionCheck::Ask;
  bool backup = true;  // --no-backup clears it
  int keepBackups = 3;
  RestorePolicy restore = RestorePolicy::Ask;
  Clock* clock = nullptr;  // names the backup folder; the system clock when null
  /* Free bytes in a folder; the real file system's when null. */
  std::function<std::uintmax_t(const std::string&)> freeBytes = nullptr;
};

/* Before the first pack, after the environment checks: false when other
** clients are connected to the installation's databases and the operator
** stopped (or nobody could be asked); they were named. */
bool CheckOtherConnections(InstallRunServices& s);

/* Before the first pack. Shows and returns false when the run must not start:
** a table would pass the format limit, or the backup could not be made or
** verified (nothing is changed then). Otherwise the backup made, if any. */
bool PrepareRun(InstallRunServices& s, std::optional<BackupSet>& backup);

/* After a failed pack: restores backup when the policy says so or the
** operator agrees, holding the session guard meanwhile, and writes the
** outcome on the install page: every database restored, or a message naming
** each database left as it was and why, and a Memo line per database. */
void RestoreAfterFailure(InstallRunServices& s, const BackupSet& backup);

}  // namespace kv
