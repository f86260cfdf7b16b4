/*
** A complete demo installation in a folder: the registry file, the program,
** base, data and version folders, the ini file, a Firebird folder whose
** aliases file names the server Orders database, old program files, the
** temporary Orders files and every database, owned by the installation user
** and brought to the chosen level by the service packs themselves.
*/
#pragma once

#include <string>
#include <vector>

#include "migration/fb/client.h"
#include "startup/installation.h"

namespace kv::demo {

struct DemoOptions {
  std::string folder;           // created when missing; must not hold an installation yet
  int level = 0;                // ServicePack of every database
  std::int32_t installation = 1;
  bool numbered = false;        // kv_N.ini instead of kv.ini
  bool forcedWrites = true;     // as in production; tests may turn it off for speed
};

struct DemoInstallation {
  std::string registryPath;     // for KV_REGISTRY
  Installation installation;    // folders, paths and connection lines as the program derives them
  std::vector<std::string> databases;  // every database file created
};

/* Writes everything but the databases: folders, registry file, ini file,
** aliases file, old program files, temporary Orders files. */
DemoInstallation WriteDemoFiles(const DemoOptions& options);

/* Creates the nine databases and the server Orders database of a demo whose
** files exist, at level 0. */
void CreateDemoDatabases(const fb::Client& client, const DemoOptions& options, const DemoInstallation& demo);

/* Creates the three temporary Orders files (database contexts remove them,
** so they come last). */
void CreateTemporaryOrders(const fb::Client& client, const DemoOptions& options, const DemoInstallation& demo);

/* Brings every database of the demo from level 0 to options.level by running
** the catalogue in the wizard's order; a level no pack writes (7) is then
** recorded directly. Throws std::runtime_error when a pack fails. */
void RaiseDemoLevel(const fb::Client& client, const DemoOptions& options, const DemoInstallation& demo);

/* All four, in that order. */
DemoInstallation CreateDemoInstallation(const fb::Client& client, const DemoOptions& options);

}  // namespace kv::demo
