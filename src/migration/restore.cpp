/*
** The restore of one database of a backup: proven in a side file before it
** takes the original's place (the guarantee is stated in backup.h).
*/
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "migration/backup.h"
#include "migration/backup_support.h"
#include "migration/fb/error.h"
#include "platform/file_use.h"
#include "platform/paths.h"
#include "platform/scope_exit.h"
#include "platform/utf8_path.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using backup::Level;

constexpr const char* kSideSuffix = ".restoring";
constexpr const char* kBeforeSuffix = ".before-restore";

/* How long a rename waits for the engine to let go of a file it has just
** closed (a server may keep a database open a while after its last detach). */
constexpr int kReleaseTries = 100;
constexpr std::chrono::milliseconds kReleasePause{100};

/* Waits until no attachment, the program's own included, holds path open;
** false when one still does after the waiting. */
bool WaitUntilReleased(const std::string& path) {
  for (int i = 0; i < kReleaseTries; ++i) {
    if (!FileHeldByOther(path)) return true;
    std::this_thread::sleep_for(kReleasePause);
  }
  return !FileHeldByOther(path);
}

/* Renames from to to, trying again while the system refuses (a file just let
** go of may still be open for a moment on Windows). */
bool RenameWhenFree(FileSystem& fs, const std::string& from, const std::string& to) {
  for (int i = 0;; ++i) {
    try {
      fs.RenameFile(from, to);
      return true;
    } catch (const FileError&) {
      if (i + 1 >= kReleaseTries) return false;
    }
    std::this_thread::sleep_for(kReleasePause);
  }
}

/* A restore cut short between its two renames left the original only as
** <name>.before-restore: it goes back first. Once the restored file stands
** in place, a leftover original is surplus. */
void FinishInterruptedSwap(FileSystem& fs, const std::string& db) {
  const std::string before = db + kBeforeSuffix;
  if (!fs.FileExists(before)) return;
  if (fs.FileExists(db)) fs.TryDeleteFile(before);
  else RenameWhenFree(fs, before, db);
}

std::string LevelText(std::int32_t servicePack, std::int32_t build) {
  return "ServicePack " + std::to_string(servicePack) + ", Build " + std::to_string(build);
}

/* Puts the proven side file in place of db; the reason when db was left as it was. */
std::optional<std::string> Swap(FileSystem& fs, const std::string& db, const std::string& side) {
  if (!WaitUntilReleased(side)) return "восстановленная копия всё ещё открыта сервером: " + side;
  const std::string before = db + kBeforeSuffix;
  const bool had = fs.FileExists(db);
  if (had) {
    if (!WaitUntilReleased(db)) return "база данных открыта (сервером или другой программой), заменить её нельзя";
    if (!RenameWhenFree(fs, db, before)) return "файл базы данных нельзя переименовать в " + before;
  }
  if (!RenameWhenFree(fs, side, db)) {
    if (had && !RenameWhenFree(fs, before, db))
      return "восстановленную копию нельзя поставить на место; прежний файл базы данных сохранён как " + before;
    return "восстановленную копию нельзя поставить на место базы данных";
  }
  if (had) fs.TryDeleteFile(before);
  return std::nullopt;
}

/* Restores one database; the reason when it was left as it was. */
std::optional<std::string> RestoreOne(MigrationServices& services, const BackupSet& backup, const BackupEntry& e,
                                      BackupObserver& observer, const FreeSpace& freeBytes) {
  FileSystem& fs = services.fs;
  FinishInterruptedSwap(fs, e.database);
  const std::string file = backup.folder + e.file;
  if (!fs.FileExists(file)) return "нет файла резервной копии " + file;
  std::error_code ec;
  const std::uintmax_t fileSize = stdfs::file_size(Utf8Path(file), ec);
  if (ec) return "файл резервной копии не читается: " + file;
  if (e.fileSize != 0 && fileSize != e.fileSize)
    return "файл резервной копии повреждён (" + std::to_string(fileSize) + " байт вместо " +
           std::to_string(e.fileSize) + "): " + file;

  const std::string side = e.database + kSideSuffix;
  if (!DeleteIfExists(fs, side)) return "нельзя удалить оставшийся от прошлого восстановления файл " + side;
  // The restored copy takes about the room the database took when it was backed up.
  const std::uintmax_t available = backup::FreeBytesOf(freeBytes, FolderOf(e.database));
  if (available < e.size)
    return "недостаточно места для восстановленной копии в папке " + FolderOf(e.database) + " (нужно " +
           backup::Megabytes(e.size) + ", свободно " + backup::Megabytes(available) + ")";

  ScopeExit removeSide([&] { fs.TryDeleteFile(side); });
  try {
    fb::ServiceManager service(services.client, backup::ServiceParams(services));
    backup::ProgressSink progress(observer, BackupPhase::Restoring, e.database);
    service.Restore(file, side, false, progress.Lines());
  } catch (const fb::Error& err) {
    return "служба восстановления сообщила об ошибке:\r" + std::string(err.what());
  }
  const std::optional<Level> level = backup::ReadLevel(services, side);
  if (!level) return "восстановленная копия не открывается или в ней нет записи уровня";
  if (*level != Level{e.servicePack, e.build})
    return "в восстановленной копии " + LevelText(level->servicePack, level->build) + ", а в описании копии " +
           LevelText(e.servicePack, e.build);
  if (std::optional<std::string> refused = Swap(fs, e.database, side)) return refused;
  removeSide.Release();
  return std::nullopt;
}

}  // namespace

bool RestoreReport::AllRestored() const {
  return std::all_of(databases.begin(), databases.end(), [](const RestoredDatabase& d) { return d.restored; });
}

std::string RestoreReport::NotRestored() const {
  std::string out;
  for (const RestoredDatabase& d : databases)
    if (!d.restored) out += (out.empty() ? "" : "\r") + d.entry.database + ": " + d.reason;
  return out;
}

namespace backup {

RestoredDatabase RestoreDatabase(MigrationServices& services, const BackupSet& backup, const BackupEntry& e,
                                 BackupObserver& observer, const FreeSpace& freeBytes) {
  RestoredDatabase outcome;
  outcome.entry = e;
  try {
    const std::optional<std::string> reason = RestoreOne(services, backup, e, observer, freeBytes);
    outcome.restored = !reason;
    outcome.reason = reason.value_or("");
  } catch (const std::exception& err) {
    // The file system's errors leave this database as it was, like any other failure.
    outcome.reason = err.what();
  }
  return outcome;
}

}  // namespace backup
}  // namespace kv
