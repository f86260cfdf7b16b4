/*
** The server's service manager: its version text, and backups of databases
** and their restores. Attached by the constructor, detached by the destructor.
** The server (or the embedded engine) reads and writes the files itself.
*/
#pragma once

#include <string>
#include <vector>

#include "migration/fb/client.h"
#include "migration/fb/handle.h"

namespace kv::fb {

class ServiceManager {
 public:
  /* Attaches to the local server's service manager with "name=value" lines
  ** (user_name, password). Throws fb::Error. */
  ServiceManager(const Client& client, const std::vector<std::string>& params);
  ServiceManager(const ServiceManager&) = delete;
  ServiceManager& operator=(const ServiceManager&) = delete;

  /* The server's version text, e.g. "LI-V3.0.11.33637 Firebird 3.0". */
  std::string ServerVersion();

  /* Backs up database into the backup file at file and waits until it is
  ** done. Throws fb::Error with the service's own words when it fails. */
  void Backup(const std::string& database, const std::string& file);

  /* Restores the backup file at file into database, replacing a database
  ** there when replace is true, and waits until it is done. The restored
  ** database belongs to the attached user. Throws fb::Error as Backup. */
  void Restore(const std::string& file, const std::string& database, bool replace);

 private:
  /* Starts the action of spb and reads its output until the end; the last
  ** lines go into the error when the action fails. */
  void RunAction(const std::string& spb, const std::string& what);
  /* Returns once the engine reports the service no longer running. */
  void WaitUntilStopped();

  const Client& client_;
  ServiceHandle handle_;
};

}  // namespace kv::fb
