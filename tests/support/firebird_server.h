/*
** A private Firebird server for one test process: started on a free loopback
** port with its own folder, configuration, lock folder and security database
** (SYSDBA and the installation users kv5.N with their derived passwords), by
** scripts/fb-server.sh prepare. The process points its own client and every
** program it starts at the server (FIREBIRD names a client configuration
** without the embedded engine), so plain database paths go through the server.
** The server is stopped by its pid when the fixture ends, and is killed by the
** kernel if the test process dies first.
**
** On request the server gets a closed folder: one the clients write as usual
** but the server cannot, as a server running under an account of its own
** finds a folder it was given no right to. The server runs in a mount
** namespace of its own where the folder is a read-only view of itself.
*/
#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kv::test {

class FirebirdServer {
 public:
  /* Starts the server with users kv5.N for each N of users, and sets FIREBIRD
  ** for this process: create it before the client library is first used.
  ** closedFolder: with ClosedFolder() (see CanCloseFolders). */
  explicit FirebirdServer(const std::vector<int>& users = {1}, bool closedFolder = false);
  ~FirebirdServer();
  FirebirdServer(const FirebirdServer&) = delete;
  FirebirdServer& operator=(const FirebirdServer&) = delete;

  /* Stops the server and waits until it has gone; nothing when stopped. */
  void Stop();
  bool Running() const { return pid_ > 0; }
  int Port() const { return port_; }
  /* The folder FIREBIRD names for the clients. */
  std::string ClientFolder() const { return dir_ / "client"; }
  /* The folder the server cannot write (with a trailing separator); "" when not asked for. */
  std::string ClosedFolder() const { return closed_ ? dir_ / "closed/" : ""; }
  /* False when this process may not give a server a mount namespace (no privilege for it). */
  static bool CanCloseFolders();

  /* Runs statements as SYSDBA on the server's security database (ALTER USER ...). */
  void AsSysdba(const std::vector<std::string>& statements) const;

 private:
  void Launch();

  TempDir dir_;
  int port_ = 0;
  int pid_ = -1;
  bool closed_ = false;
  std::string sysdbaPassword_;
};

}  // namespace kv::test
