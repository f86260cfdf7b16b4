/*
** Who else is connected to the installation's databases, read from the
** server's monitoring table before a run: a schema change meets every other
** client that has used a table, and the server then refuses it ("object in
** use"). The program's own attachments (same process on the same host) are
** left out, as are the server's system attachments.
*/
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "migration/context.h"

namespace kv {

struct OtherConnection {
  std::string database;  // the installation's path
  std::string user;
  std::string address;   // the client's address as the server sees it ("127.0.0.1/50412"), "" when local
  std::string process;   // the client program's path, "" when it did not say
  std::int32_t pid = 0;
};

/* The other clients attached to each of databases that can be opened (one
** that cannot is the packs' to report). */
std::vector<OtherConnection> FindOtherConnections(MigrationServices& services,
                                                  const std::vector<std::string>& databases);

/* The operator's text: each connection by database, address and program. */
std::string OtherConnectionsMessage(const std::vector<OtherConnection>& connections);

}  // namespace kv
