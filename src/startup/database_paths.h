/*
** Where the installation's databases are and how to connect to them: computed
** once at start from the data folder and the installation number, then read-only.
** The server Orders database is found later, through the Firebird aliases file.
*/
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "startup/install_registry.h"

namespace kv {

class RegisterLog;

/* Which installation this run works on (from the command line). */
struct InstallationParams {
  std::int32_t number = 1;  // N, positive
  bool numbered = false;    // the ini file, diagnostics and the wizard depend on it
};

struct DatabasePaths {
  std::string base, config, optima, system, orders, director, price, stockMan;
  std::string ordersTmp1, ordersTmp2, ordersTmp3;
  std::string serverOrders;  // empty until the install run finds it
};

/* One database of the installation, as a member of DatabasePaths. */
using DatabaseMember = std::string DatabasePaths::*;

/* The databases the packs work on, in the packs' order (packs::Db follows it):
** the backup, its restore, the plan, the run log, the kept connections and the
** demo take them so. */
inline constexpr std::array<DatabaseMember, 9> kPackDatabases{
    &DatabasePaths::base,     &DatabasePaths::config, &DatabasePaths::orders,
    &DatabasePaths::serverOrders,
    &DatabasePaths::director, &DatabasePaths::price,  &DatabasePaths::stockMan,
    &DatabasePaths::optima,   &DatabasePaths::system};

/* The temporary Orders files, which a run deletes before its first pack. */
inline constexpr std::array<DatabaseMember, 3> kTemporaryOrders{
    &DatabasePaths::ordersTmp1, &DatabasePaths::ordersTmp2, &DatabasePaths::ordersTmp3};

/* Every database file of an installation, in the order its folders are laid
** out: what --show-installation and the demo list. */
inline constexpr std::array<DatabaseMember, 12> kInstallationDatabases{
    &DatabasePaths::base,       &DatabasePaths::config,     &DatabasePaths::optima,
    &DatabasePaths::system,     &DatabasePaths::orders,     &DatabasePaths::serverOrders,
    &DatabasePaths::director,   &DatabasePaths::price,      &DatabasePaths::stockMan,
    &DatabasePaths::ordersTmp1, &DatabasePaths::ordersTmp2, &DatabasePaths::ordersTmp3};

/* The paths of members in p, in their order, without those not known (empty). */
std::vector<std::string> KnownPaths(const DatabasePaths& p, std::span<const DatabaseMember> members);

struct ConnectionSettings {
  std::string userLine;      // "user_name=kv5.N"
  std::string passwordLine;  // "password=" + eight upper-case hex digits
  std::string ordersAlias;   // "kvServerOrders_N"
  std::string iniPath;       // kv.ini or kv_N.ini in the program folder
};

struct DatabaseLocations {
  DatabasePaths paths;
  ConnectionSettings connection;
};

/* Forms every path and line. On failure (an installation number below 1)
** reports code 113 and returns nullopt. */
std::optional<DatabaseLocations> SetDatabasePaths(const InstallFolders& folders,
                                                  const InstallationParams& params,
                                                  RegisterLog& log);

/* The password the installation's databases expect: the low 32 bits of N*N*N
** as eight upper-case hexadecimal digits. */
std::string InstallationPassword(std::int32_t number);

/* Path of the server Orders database from the aliases file of the Firebird
** folder named in the ini file; empty when anything is missing or no line
** matches. Throws FileError when the aliases file exists but cannot be read. */
std::string FindOrdersAlias(FileSystem& fs, const std::string& iniPath, std::string_view aliasName);

/* The first line of aliases text holding aliasName (as a plain substring,
** case-sensitive) and "=": the text after its first "=", trimmed. */
std::string MatchOrdersAlias(std::string_view aliasesText, std::string_view aliasName);

/* Whether path names a database on a server, as the client reads it
** (host:path, host/port:path, or a URL such as inet://host/path), rather
** than a file of this computer: a drive letter, a UNC name or a Unix path.
** Such a database is no file here; only its server can tell whether it exists. */
bool IsRemoteDatabaseName(std::string_view path);

}  // namespace kv
