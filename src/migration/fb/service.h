/*
** The server's service manager: its version text, and backups of databases
** and their restores. Attached by the constructor, detached by the destructor.
** The server (or the embedded engine) reads and writes the files itself.
**
** A backup or restore is judged by its status and by its verbose output: the
** service reports some failures only in words, or not at all. A backup file
** cut short makes a restore prompt for the next volume ("Done with volume #0
** ... Press return to reopen that file ... ERROR: Backup incomplete"; the
** embedded engine writes this on the process's own console, not in the
** output) and stop with a status of success, leaving a database that holds
** part of the data. So an action succeeds only with a success status, no
** line telling of a failure, and its own closing line in the output
** ("closing file, committing, and finishing" for a backup, "finishing,
** closing, and going home" for a restore).
*/
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "migration/fb/client.h"
#include "migration/fb/handle.h"

namespace kv::fb {

/* True for a line of a service's output that tells of a failure: an "ERROR:"
** line, or the prompt for another volume (a backup file that ended early). */
bool IsServiceFailureLine(std::string_view line);

class ServiceManager {
 public:
  /* Told each line of an action's verbose output as it comes. */
  using LineSink = std::function<void(const std::string& line)>;

  /* Attaches to the local server's service manager with "name=value" lines
  ** (user_name, password). Throws fb::Error. */
  ServiceManager(const Client& client, const std::vector<std::string>& params);
  ServiceManager(const ServiceManager&) = delete;
  ServiceManager& operator=(const ServiceManager&) = delete;

  /* The server's version text, e.g. "LI-V3.0.11.33637 Firebird 3.0". */
  std::string ServerVersion();

  /* Backs up database into the backup file at file and waits until it is
  ** done. Throws fb::Error with the service's own words when it fails, by its
  ** status or by its output (IsServiceFailureLine). */
  void Backup(const std::string& database, const std::string& file, const LineSink& lines = {});

  /* Restores the backup file at file into database, replacing a database
  ** there when replace is true, and waits until it is done. The restored
  ** database belongs to the attached user. Throws fb::Error as Backup; a
  ** database it created may then stand, holding part of the data. */
  void Restore(const std::string& file, const std::string& database, bool replace, const LineSink& lines = {});

 private:
  /* Starts the action of spb and reads its output until the end; the last
  ** lines, and every line telling of a failure, go into the error when the
  ** action fails. finished: a text of the action's closing line. */
  void RunAction(const std::string& spb, const std::string& what, std::string_view finished, const LineSink& lines);
  /* Returns once the engine reports the service no longer running. */
  void WaitUntilStopped();

  const Client& client_;
  ServiceHandle handle_;
};

}  // namespace kv::fb
