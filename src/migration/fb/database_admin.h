/*
** Creating databases and changing their write mode: what the demo
** installation and the tests need beyond the program's own work.
*/
#pragma once

#include <string>

#include "migration/fb/client.h"

namespace kv::fb {

struct NewDatabase {
  std::string path;
  std::string user;      // becomes the owner: embedded Firebird enforces it
  std::string password;
  std::string charset = "WIN1251";
  int pageSize = 8192;
};

/* Creates the database file (which must not exist). Throws fb::Error. */
void CreateDatabase(const Client& client, const NewDatabase& db);

/* Turns forced (synchronous) writes of a database on or off. Throws fb::Error. */
void SetForcedWrites(const Client& client, const std::string& path, const std::string& user,
                     const std::string& password, bool on);

}  // namespace kv::fb
