/*
** Database paths, connection lines and the aliases-file lookup.
*/
#include "startup/database_paths.h"

#include <cstdio>

#include "platform/paths.h"
#include "platform/text_codec.h"
#include "platform/text_util.h"
#include "startup/ini_file.h"
#include "startup/register_log.h"

namespace kv {

std::string InstallationPassword(std::int32_t number) {
  // Unsigned arithmetic wraps modulo 2^32: exactly the low 32 bits of N^3.
  auto n = static_cast<std::uint32_t>(number);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", n * n * n);
  return buf;
}

std::optional<DatabaseLocations> SetDatabasePaths(const InstallFolders& folders,
                                                  const InstallationParams& params,
                                                  RegisterLog& log) {
  if (params.number < 1 || folders.data.empty() || folders.program.empty()) {
    log.ReportCode(113);
    return std::nullopt;
  }
  DatabaseLocations loc;
  DatabasePaths& p = loc.paths;
  const std::string orders = folders.data + "Orders" + kPathSep;
  const std::string base = folders.data + "Base" + kPathSep;
  const std::string director = folders.data + "Director" + kPathSep;
  const std::string tmp = orders + "TMP" + kPathSep;
  p.base = base + "Base.fdb";
  p.config = base + "Config.fdb";
  p.optima = base + "Optima.fdb";
  p.system = base + "System.fdb";
  p.orders = orders + "Orders.fdb";
  p.director = director + "Director.fdb";
  p.price = director + "Price.fdb";
  p.stockMan = folders.data + "StockMan" + kPathSep + "StockMan.fdb";
  p.ordersTmp1 = tmp + "OrdersTMP.fdb";
  p.ordersTmp2 = tmp + "OrdersTMP2.fdb";
  p.ordersTmp3 = tmp + "OrdersTMP3.fdb";

  const std::string n = std::to_string(params.number);
  ConnectionSettings& c = loc.connection;
  c.userLine = "user_name=kv5." + n;
  c.passwordLine = "password=" + InstallationPassword(params.number);
  c.ordersAlias = "kvServerOrders_" + n;
  c.iniPath = folders.program + (params.numbered ? "kv_" + n + ".ini" : std::string("kv.ini"));
  return loc;
}

std::vector<std::string> KnownPaths(const DatabasePaths& p, std::span<const DatabaseMember> members) {
  std::vector<std::string> out;
  for (DatabaseMember member : members)
    if (!(p.*member).empty()) out.push_back(p.*member);
  return out;
}

bool IsRemoteDatabaseName(std::string_view path) {
  const std::size_t colon = path.find(':');
  // One letter before the colon is a drive; a separator first makes it a path.
  if (colon == std::string_view::npos || colon < 2) return false;
  const std::string_view host = path.substr(0, colon);
  return host.front() != '/' && host.find('\\') == std::string_view::npos;
}

std::string MatchOrdersAlias(std::string_view aliasesText, std::string_view aliasName) {
  for (std::string_view line : SplitLines(aliasesText)) {
    if (line.find(aliasName) == std::string_view::npos) continue;
    auto eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    return std::string(TrimControls(line.substr(eq + 1)));
  }
  return {};
}

std::string FindOrdersAlias(FileSystem& fs, const std::string& iniPath, std::string_view aliasName) {
  // The profile rules read an unreadable ini file as an empty one.
  std::string ini;
  try {
    if (fs.FileExists(iniPath)) ini = EightBitToUtf8(fs.ReadFile(iniPath));
  } catch (const FileError&) {
  }
  std::optional<std::string> folder = IniValue(ini, "Server", "DirectoryFirebird");
  if (!folder || folder->empty()) return {};
  const std::string aliases = WithTrailingSep(*folder) + "aliases.conf";
  if (!fs.FileExists(aliases)) return {};
  return MatchOrdersAlias(EightBitToUtf8(fs.ReadFile(aliases)), aliasName);
}

}  // namespace kv
