/*
** Helpers of the backup and the restore.
*/
#include "migration/backup_support.h"

#include <chrono>
#include <filesystem>

#include "platform/utf8_path.h"

namespace kv::backup {

std::vector<std::string> ServiceParams(const MigrationServices& s) {
  return {s.installation.connection.userLine, s.installation.connection.passwordLine};
}

std::optional<Level> ReadLevel(MigrationServices& services, const std::string& path) {
  TDM1 dm(services);
  std::int32_t version = 0, servicePack = 0, build = 0;
  if (!dm.aaRead_ServicePack(path, version, servicePack, build)) return std::nullopt;
  return Level{servicePack, build};
}

std::uintmax_t FreeBytesOf(const FreeSpace& freeBytes, const std::string& folder) {
  namespace stdfs = std::filesystem;
  stdfs::path p = Utf8Path(folder);
  while (!p.empty() && !stdfs::exists(p)) p = p.parent_path();
  if (freeBytes) return freeBytes(Utf8String(p));
  return stdfs::space(p).available;
}

std::string Megabytes(std::uintmax_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20) + " МБ"; }

fb::ServiceManager::LineSink ProgressSink::Lines() {
  return [this](const std::string& line) {
    if (const std::optional<std::string> shown = progress_.Read(line, std::chrono::steady_clock::now()))
      observer_.Progress(phase_, database_, *shown);
  };
}

}  // namespace kv::backup
