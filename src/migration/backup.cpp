/*
** Backups before a run, and their restores.
*/
#include "migration/backup.h"

#include <chrono>
#include <thread>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "migration/connection_pool.h"
#include "migration/fb/error.h"
#include "migration/fb/service.h"
#include "platform/paths.h"
#include "platform/utf8_path.h"
#include "platform/text_util.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr const char* kManifest = "manifest.txt";
constexpr const char* kVerifyFile = "verify.tmp.fdb";

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string FolderName(const LocalDateTime& t) {
  return std::to_string(t.year) + Two(t.month) + Two(t.day) + "-" + Two(t.hour) + Two(t.minute) + Two(t.second);
}

bool IsBackupFolderName(const std::string& name) {
  if (name.size() != 15 || name[8] != '-') return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (i != 8 && (name[i] < '0' || name[i] > '9')) return false;
  return true;
}

std::vector<std::string> ServiceParams(const MigrationServices& s) {
  return {s.installation.connection.userLine, s.installation.connection.passwordLine};
}

struct Level {
  std::int32_t servicePack = 0, build = 0;
};

/* The level record of the database at path, read in a context of its own. */
std::optional<Level> ReadLevel(MigrationServices& services, const std::string& path) {
  TDM1 dm(services);
  std::int32_t version = 0, servicePack = 0, build = 0;
  if (!dm.aaRead_ServicePack(path, version, servicePack, build)) return std::nullopt;
  return Level{servicePack, build};
}

std::uintmax_t FreeBytesOf(const BackupSettings& settings, std::string folder) {
  // The nearest folder that exists tells the free space of the one to be made.
  stdfs::path p = Utf8Path(folder);
  while (!p.empty() && !stdfs::exists(p)) p = p.parent_path();
  if (settings.freeBytes) return settings.freeBytes(Utf8String(p));
  return stdfs::space(p).available;
}

void WriteManifest(const BackupSet& set) {
  std::ostringstream out;
  for (const BackupEntry& e : set.entries)
    out << e.database << '\t' << e.servicePack << '\t' << e.build << '\t' << e.size << '\t' << e.file << '\n';
  const std::string path = set.folder + kManifest, part = path + ".part";
  {
    std::unique_ptr<OutputFile> f = RealFileSystem().OpenForWrite(part);
    f->Write(out.str());
    f->Close();
  }
  RealFileSystem().RenameFile(part, path);
}

/* The server (or the embedded engine) writes the backup files itself, under
** its own account, which may not be the program's: the folder the program
** made can still be closed to it. It opens the file before it reads the
** database, so this is known at once, before anything is changed. */
std::string ServerCannotWriteMessage(const std::string& root, const std::string& folder, const fb::Error& err) {
  return "Сервер Firebird не может записать резервную копию в папку\r" + folder +
         "\rФайлы резервной копии создаёт сам сервер, под своей учётной записью.\r"
         "Дайте учётной записи сервера право записи в папку " + root +
         " (с вложенными папками) или сделайте копию баз данных сами и запустите обновление с --no-backup.\r" +
         err.what();
}

/* Other user attachments to path than the one asking; nullopt when it cannot be asked. */
std::optional<std::int32_t> OtherAttachments(MigrationServices& services, const std::string& path) {
  TDM1 dm(services);
  if (!dm.OpenDataBase(path)) return std::nullopt;
  try {
    const std::int32_t n = dm.ReadInt({"SELECT COUNT(*)", "FROM MON$ATTACHMENTS",
                                       "WHERE MON$SYSTEM_FLAG = 0 AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION"});
    dm.CommitRead();
    return n;
  } catch (const fb::Error&) {
    dm.RollbackRead();
    return std::nullopt;
  }
}

}  // namespace

std::vector<std::string> DatabasesToBackUp(const Installation& installation, FileSystem& fs) {
  const DatabasePaths& p = installation.databases;
  std::vector<std::string> out;
  std::set<std::string> seen;
  for (const std::string* path :
       {&p.base, &p.config, &p.orders, &p.serverOrders, &p.director, &p.price, &p.stockMan, &p.optima, &p.system})
    if (!path->empty() && fs.FileExists(*path) && seen.insert(*path).second) out.push_back(*path);
  return out;
}

std::string BackupRoot(const InstallFolders& folders) { return folders.version + "Backup" + kPathSep; }

BackupSet MakeBackup(MigrationServices& services, const std::vector<std::string>& databases,
                     const BackupSettings& settings, const LocalDateTime& now, BackupObserver& observer) {
  BackupSet set;
  set.folder = settings.root + FolderName(now) + kPathSep;

  std::uintmax_t total = 0, largest = 0;
  for (const std::string& db : databases) {
    std::error_code ec;
    const std::uintmax_t size = stdfs::file_size(Utf8Path(db), ec);
    if (ec) throw BackupError("Не удалось прочитать размер файла базы данных: " + db);
    total += size;
    largest = std::max(largest, size);
  }
  // Room for every backup file and, while one is checked, a restored copy of the largest database.
  const std::uintmax_t needed = total + largest;
  const std::uintmax_t available = FreeBytesOf(settings, set.folder);
  if (available < needed)
    throw BackupError("Недостаточно места для резервной копии баз данных\r" + set.folder + "\rНужно: " +
                      std::to_string(needed / (1024 * 1024) + 1) + " МБ, свободно: " +
                      std::to_string(available / (1024 * 1024)) + " МБ");

  if (stdfs::exists(Utf8Path(set.folder))) throw BackupError("Папка резервной копии уже существует: " + set.folder);
  if (!services.fs.CreateDirs(set.folder)) throw BackupError("Не удалось создать папку " + set.folder);
  try {
    fb::ServiceManager service(services.client, ServiceParams(services));
    int n = 0;
    for (const std::string& db : databases) {
      observer.BackingUp(db);
      const std::optional<Level> level = ReadLevel(services, db);
      if (!level) throw BackupError("Не удалось открыть базу данных для резервной копии: " + db);
      BackupEntry e;
      e.database = db;
      e.servicePack = level->servicePack;
      e.build = level->build;
      e.size = stdfs::file_size(Utf8Path(db));
      e.file = Two(++n) + "-" + FileNameOf(db) + ".fbk";
      const std::string file = set.folder + e.file;
      try {
        service.Backup(db, file);
      } catch (const fb::Error& err) {
        if (err.BackupFileRefused()) throw BackupError(ServerCannotWriteMessage(settings.root, set.folder, err));
        throw BackupError("Не удалось сделать резервную копию базы данных " + db + "\r" + err.what());
      }
      // Verified before it is trusted: restored into a scratch database whose level must match.
      const std::string scratch = set.folder + kVerifyFile;
      try {
        service.Restore(file, scratch, true);
      } catch (const fb::Error& err) {
        throw BackupError("Резервная копия базы данных " + db + " не прошла проверку\r" + err.what());
      }
      const std::optional<Level> restored = ReadLevel(services, scratch);
      std::error_code ec;
      stdfs::remove(Utf8Path(scratch), ec);
      if (!restored || restored->servicePack != e.servicePack || restored->build != e.build)
        throw BackupError("Резервная копия базы данных " + db + " не прошла проверку");
      set.entries.push_back(e);
      observer.BackedUp(e);
    }
    WriteManifest(set);
  } catch (const fb::Error& err) {
    std::error_code ec;
    stdfs::remove_all(Utf8Path(set.folder), ec);
    throw BackupError("Не удалось сделать резервную копию баз данных\r" + std::string(err.what()));
  } catch (...) {
    std::error_code ec;
    stdfs::remove_all(Utf8Path(set.folder), ec);
    throw;
  }
  return set;
}

BackupSet ReadBackup(const std::string& folder) {
  BackupSet set;
  set.folder = WithTrailingSep(folder);
  std::string text;
  try {
    text = RealFileSystem().ReadFile(set.folder + kManifest);
  } catch (const FileError&) {
    throw BackupError("В папке нет описания резервной копии (" + std::string(kManifest) + "): " + set.folder);
  }
  int line = 0;
  for (std::string_view l : SplitLines(text)) {
    ++line;
    if (l.empty()) continue;
    std::vector<std::string> f;
    std::size_t from = 0;
    for (std::size_t tab; (tab = l.find('\t', from)) != std::string_view::npos; from = tab + 1)
      f.emplace_back(l.substr(from, tab - from));
    f.emplace_back(l.substr(from));
    BackupEntry e;
    try {
      if (f.size() != 5 || f[0].empty() || f[4].empty() || f[4].find(kPathSep) != std::string::npos)
        throw std::invalid_argument("fields");
      e = {f[0], std::stoi(f[1]), std::stoi(f[2]), std::stoull(f[3]), f[4]};
    } catch (const std::exception&) {
      throw BackupError("Описание резервной копии повреждено, строка " + std::to_string(line) + ": " + set.folder +
                        kManifest);
    }
    if (!stdfs::exists(Utf8Path(set.folder + e.file))) throw BackupError("Нет файла резервной копии: " + set.folder + e.file);
    set.entries.push_back(e);
  }
  if (set.entries.empty()) throw BackupError("Описание резервной копии пусто: " + set.folder + kManifest);
  return set;
}

bool BackupMatches(const BackupSet& backup, const Installation& installation) {
  const DatabasePaths& p = installation.databases;
  const std::set<std::string> ours{p.base,     p.config,   p.orders, p.serverOrders, p.director,
                                   p.price,    p.stockMan, p.optima, p.system};
  return std::all_of(backup.entries.begin(), backup.entries.end(),
                     [&](const BackupEntry& e) { return !e.database.empty() && ours.count(e.database); });
}

void RestoreBackup(MigrationServices& services, const BackupSet& backup, BackupObserver& observer) {
  // The files are replaced: no connection of the program's may stay on them,
  // and the check of other users below must see only the one asking.
  if (services.pool) services.pool->Close();
  for (const BackupEntry& e : backup.entries) {
    const std::optional<std::int32_t> others = OtherAttachments(services, e.database);
    if (others && *others > 0)
      throw BackupError("База данных открыта другими программами (" + std::to_string(*others) +
                        "), восстановление невозможно: " + e.database);
  }
  {
    fb::ServiceManager service(services.client, ServiceParams(services));
    for (const BackupEntry& e : backup.entries) {
      observer.Restoring(e);
      try {
        service.Restore(backup.folder + e.file, e.database, true);
      } catch (const fb::Error& err) {
        throw BackupError("Не удалось восстановить базу данных " + e.database + "\r" + err.what());
      }
    }
  }
  // The embedded engine still finishes the restored databases in short-lived
  // threads of its own after the service has returned and reported itself
  // stopped; shutting the engine down meanwhile crashes the process (3 runs in
  // 15 here without a pause, none in 15 with 300 ms). A restore is rare and
  // long, so it ends with a settling pause.
  std::this_thread::sleep_for(kRestoreSettle);
}

std::vector<std::string> PruneBackups(const std::string& root, int keep, const std::string& current) {
  std::vector<std::string> folders;
  std::error_code ec;
  for (const auto& entry : stdfs::directory_iterator(Utf8Path(root), ec))
    if (entry.is_directory() && IsBackupFolderName(Utf8String(entry.path().filename())))
      folders.push_back(Utf8String(entry.path()) + kPathSep);
  std::sort(folders.begin(), folders.end());  // the names sort by their time
  std::vector<std::string> removed;
  for (std::size_t i = 0; folders.size() - removed.size() > static_cast<std::size_t>(std::max(keep, 0)) &&
                          i < folders.size();
       ++i) {
    if (folders[i] == current) continue;
    stdfs::remove_all(Utf8Path(folders[i]), ec);
    removed.push_back(folders[i]);
  }
  return removed;
}

}  // namespace kv
