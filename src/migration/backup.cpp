/*
** Backups before a run, their manifests, and the restore over all databases
** of one (each database is restored in restore.cpp).
*/
#include "migration/backup.h"

#include <chrono>
#include <thread>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "migration/backup_support.h"
#include "migration/connection_pool.h"
#include "migration/fb/error.h"
#include "migration/fb/service.h"
#include "platform/date_time_text.h"
#include "platform/paths.h"
#include "platform/scope_exit.h"
#include "platform/utf8_path.h"
#include "platform/text_util.h"
#include "startup/database_paths.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using backup::Level;
using backup::ReadLevel;

constexpr const char* kManifest = "manifest.txt";
constexpr const char* kVerifyFile = "verify.tmp.fdb";

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string FolderName(const LocalDateTime& t) { return FormatLocal(t, "yyyyMMdd-HHmmss"); }

bool IsBackupFolderName(const std::string& name) {
  if (name.size() != 15 || name[8] != '-') return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (i != 8 && (name[i] < '0' || name[i] > '9')) return false;
  return true;
}

void WriteManifest(const BackupSet& set) {
  std::ostringstream out;
  for (const BackupEntry& e : set.entries)
    out << e.database << '\t' << e.servicePack << '\t' << e.build << '\t' << e.size << '\t' << e.file << '\t'
        << e.fileSize << '\n';
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

/* Backs up and verifies one database into set.folder as its n-th file. */
BackupEntry BackUpOne(MigrationServices& services, fb::ServiceManager& service, const BackupSettings& settings,
                      const BackupSet& set, const std::string& db, int n, BackupObserver& observer) {
  observer.BackingUp(db);
  const std::optional<Level> level = ReadLevel(services, db);
  if (!level) throw BackupError("Не удалось открыть базу данных для резервной копии: " + db);
  BackupEntry e;
  e.database = db;
  e.servicePack = level->servicePack;
  e.build = level->build;
  e.size = stdfs::file_size(Utf8Path(db));
  e.file = Two(n) + "-" + FileNameOf(db) + ".fbk";
  const std::string file = set.folder + e.file;
  try {
    backup::ProgressSink progress(observer, BackupPhase::BackingUp, db);
    service.Backup(db, file, progress.Lines());
  } catch (const fb::Error& err) {
    if (err.BackupFileRefused()) throw BackupError(ServerCannotWriteMessage(settings.root, set.folder, err));
    throw BackupError("Не удалось сделать резервную копию базы данных " + db + "\r" + err.what());
  }
  e.fileSize = stdfs::file_size(Utf8Path(file));
  // Verified before it is trusted: restored into a scratch database whose level must match.
  const std::string scratch = set.folder + kVerifyFile;
  ScopeExit removeScratch([&] {
    std::error_code ec;
    stdfs::remove(Utf8Path(scratch), ec);
  });
  try {
    backup::ProgressSink progress(observer, BackupPhase::Verifying, db);
    service.Restore(file, scratch, true, progress.Lines());
  } catch (const fb::Error& err) {
    throw BackupError("Резервная копия базы данных " + db + " не прошла проверку\r" + err.what());
  }
  const std::optional<Level> restored = ReadLevel(services, scratch);
  if (restored != level) throw BackupError("Резервная копия базы данных " + db + " не прошла проверку");
  return e;
}

BackupSet MakeBackupIn(MigrationServices& services, const std::vector<std::string>& databases,
                       const BackupSettings& settings, const LocalDateTime& now, BackupObserver& observer) {
  BackupSet set;
  set.folder = settings.root + FolderName(now) + kPathSep;

  // The backup files are written by the service manager this program
  // attaches, which cannot reach a database by a remote name (its own server
  // refuses that as an unavailable database).
  for (const std::string& db : databases)
    if (IsRemoteDatabaseName(db))
      throw BackupError("Резервную копию базы данных " + db +
                        " программа сделать не может: база данных указана сетевым именем сервера.\r"
                        "Сделайте копию этой базы данных средствами сервера и запустите обновление с --no-backup.");

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
  const std::uintmax_t available = backup::FreeBytesOf(settings.freeBytes, set.folder);
  if (available < needed)
    throw BackupError("Недостаточно места для резервной копии баз данных\r" + set.folder + "\rНужно: " +
                      std::to_string(needed / (1024 * 1024) + 1) + " МБ, свободно: " +
                      std::to_string(available / (1024 * 1024)) + " МБ");

  if (stdfs::exists(Utf8Path(set.folder))) throw BackupError("Папка резервной копии уже существует: " + set.folder);
  if (!services.fs.CreateDirs(set.folder)) throw BackupError("Не удалось создать папку " + set.folder);
  ScopeExit removeFolder([&] {
    std::error_code ec;
    stdfs::remove_all(Utf8Path(set.folder), ec);
  });
  try {
    fb::ServiceManager service(services.client, backup::ServiceParams(services));
    int n = 0;
    for (const std::string& db : databases) {
      set.entries.push_back(BackUpOne(services, service, settings, set, db, ++n, observer));
      observer.BackedUp(set.entries.back());
    }
    WriteManifest(set);
  } catch (const fb::Error& err) {
    throw BackupError("Не удалось сделать резервную копию баз данных\r" + std::string(err.what()));
  }
  removeFolder.Release();
  return set;
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
  std::vector<std::string> out;
  std::set<std::string> seen;
  for (const std::string& path : KnownPaths(installation.databases, kPackDatabases))
    if ((IsRemoteDatabaseName(path) || fs.FileExists(path)) && seen.insert(path).second) out.push_back(path);
  return out;
}

std::string BackupRoot(const InstallFolders& folders) { return folders.version + "Backup" + kPathSep; }

BackupSet MakeBackup(MigrationServices& services, const std::vector<std::string>& databases,
                     const BackupSettings& settings, const LocalDateTime& now, BackupObserver& observer) {
  try {
    return MakeBackupIn(services, databases, settings, now, observer);
  } catch (const BackupError&) {
    throw;
  } catch (const std::exception& e) {
    // The file system's errors (free space, a file's size, the manifest) are the backup's too.
    throw BackupError("Не удалось сделать резервную копию баз данных\r" + std::string(e.what()));
  }
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
      // Manifests of earlier versions lack the backup file's size.
      if ((f.size() != 5 && f.size() != 6) || f[0].empty() || f[4].empty() ||
          f[4].find(kPathSep) != std::string::npos)
        throw std::invalid_argument("fields");
      e = {f[0], std::stoi(f[1]), std::stoi(f[2]), std::stoull(f[3]), f[4], f.size() == 6 ? std::stoull(f[5]) : 0};
    } catch (const std::exception&) {
      throw BackupError("Описание резервной копии повреждено, строка " + std::to_string(line) + ": " + set.folder +
                        kManifest);
    }
    set.entries.push_back(e);
  }
  if (set.entries.empty()) throw BackupError("Описание резервной копии пусто: " + set.folder + kManifest);
  return set;
}

bool BackupMatches(const BackupSet& backup, const Installation& installation) {
  const std::vector<std::string> known = KnownPaths(installation.databases, kPackDatabases);
  const std::set<std::string> ours(known.begin(), known.end());
  return std::all_of(backup.entries.begin(), backup.entries.end(),
                     [&](const BackupEntry& e) { return !e.database.empty() && ours.count(e.database); });
}

RestoreReport RestoreBackup(MigrationServices& services, const BackupSet& backup, BackupObserver& observer,
                            const FreeSpace& freeBytes) {
  // The files are replaced: no connection of the program's may stay on them,
  // and the check of other users below must see only the one asking.
  if (services.pool) services.pool->Close();
  for (const BackupEntry& e : backup.entries) {
    const std::optional<std::int32_t> others = OtherAttachments(services, e.database);
    if (others && *others > 0)
      throw BackupError("База данных открыта другими программами (" + std::to_string(*others) +
                        "), восстановление невозможно: " + e.database);
  }
  RestoreReport report;
  for (const BackupEntry& e : backup.entries) {
    observer.Restoring(e);
    report.databases.push_back(backup::RestoreDatabase(services, backup, e, observer, freeBytes));
  }
  // The embedded engine still finishes the restored databases in short-lived
  // threads of its own after the service has returned and reported itself
  // stopped; shutting the engine down meanwhile crashes the process (3 runs in
  // 15 here without a pause, none in 15 with 300 ms). A restore is rare and
  // long, so it ends with a settling pause.
  std::this_thread::sleep_for(kRestoreSettle);
  return report;
}

std::vector<std::string> PruneBackups(const std::string& root, int keep, const std::string& current) {
  std::vector<std::string> folders;
  std::error_code ec;
  for (const auto& entry : stdfs::directory_iterator(Utf8Path(root), ec)) {
    std::error_code kind;
    if (entry.is_directory(kind) && IsBackupFolderName(Utf8String(entry.path().filename())))
      folders.push_back(Utf8String(entry.path()) + kPathSep);
  }
  std::sort(folders.begin(), folders.end());  // the names sort by their time
  std::vector<std::string> removed;
  // The oldest beyond keep are removed; one that cannot be stays, and no newer one goes in its place.
  std::size_t excess = folders.size() > static_cast<std::size_t>(std::max(keep, 0))
                           ? folders.size() - static_cast<std::size_t>(std::max(keep, 0))
                           : 0;
  for (std::size_t i = 0; excess > 0 && i < folders.size(); ++i) {
    if (folders[i] == current) continue;
    --excess;
    std::error_code failed;
    stdfs::remove_all(Utf8Path(folders[i]), failed);
    if (!failed && !stdfs::exists(Utf8Path(folders[i]), failed) && !failed) removed.push_back(folders[i]);
  }
  return removed;
}

}  // namespace kv
