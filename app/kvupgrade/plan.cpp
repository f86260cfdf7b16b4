/*
** kvupgrade --plan.
*/
#include "plan.h"

#include <filesystem>
#include <limits>
#include <map>
#include <random>
#include <stdexcept>

#include "console_window.h"
#include "installation_lookup.h"
#include "migration/fb/client.h"
#include "migration/progress.h"
#include "platform/clock.h"
#include "platform/file_use.h"
#include "platform/registry.h"
#include "platform/process.h"
#include "platform/read_only_file_system.h"
#include "platform/utf8_path.h"
#include "startup/database_paths.h"
#include "startup/install_registry.h"
#include "startup/register_log.h"
#include "migration/backup.h"
#include "migration/format_limit.h"
#include "wizard/install_plan.h"
#include "wizard_assembly.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

/* Copies of the installation's database files in a private temporary folder,
** removed with it. The plan opens these, never the originals: the engine
** writes its bookkeeping into the header of every file it opens, and the plan
** must not change a byte of the installation. A file another program holds
** is not copied but named, as a run could not open it either. */
class DatabaseSnapshot {
 public:
  explicit DatabaseSnapshot(DatabasePaths& paths) {
    const stdfs::path base = stdfs::temp_directory_path();
    std::random_device random;
    do folder_ = base / ("kvupgrade-plan-" + std::to_string(random()));
    while (!stdfs::create_directory(folder_));
    std::uintmax_t needed = 0;
    for (std::string* path : Databases(paths)) {
      std::error_code ec;
      if (!path->empty() && stdfs::is_regular_file(Utf8Path(*path), ec)) needed += stdfs::file_size(Utf8Path(*path), ec);
    }
    if (stdfs::space(folder_).available < needed + needed / 10)
      throw std::runtime_error("Недостаточно места для копий баз данных в " + Utf8String(folder_) + ": нужно " +
                               std::to_string(needed / (1024 * 1024) + 1) + " МБ");
    int n = 0;
    for (std::string* path : Databases(paths)) {
      const std::string original = *path;
      if (original.empty()) continue;
      const std::string copy = Utf8String(folder_ / (std::to_string(++n) + ".fdb"));
      originals_[copy] = original;
      *path = copy;
      std::error_code ec;
      if (!stdfs::is_regular_file(Utf8Path(original), ec)) continue;  // absent stays absent
      if (FileHeldByOther(original)) {
        held_[copy] = "файл занят другой программой (она держит базу данных открытой)";
        continue;
      }
      stdfs::copy_file(Utf8Path(original), Utf8Path(copy));
    }
    // The temporary Orders files are the run's to delete, not the plan's to see.
    for (DatabaseMember tmp : kTemporaryOrders) paths.*tmp = Utf8String(folder_ / "none");
  }
  ~DatabaseSnapshot() {
    std::error_code ec;
    stdfs::remove_all(folder_, ec);
  }
  DatabaseSnapshot(const DatabaseSnapshot&) = delete;
  DatabaseSnapshot& operator=(const DatabaseSnapshot&) = delete;

  const std::map<std::string, std::string>& Held() const { return held_; }
  std::string Original(const std::string& copy) const {
    const auto it = originals_.find(copy);
    return it == originals_.end() ? copy : it->second;
  }

 private:
  static std::vector<std::string*> Databases(DatabasePaths& p) {
    std::vector<std::string*> out;
    for (DatabaseMember member : kPackDatabases) out.push_back(&(p.*member));
    return out;
  }
  stdfs::path folder_;
  std::map<std::string, std::string> originals_;  // copy -> original
  std::map<std::string, std::string> held_;       // copy -> reason
};

std::string FieldText(const std::optional<std::int32_t>& v) { return v ? std::to_string(*v) : "нет"; }

void PrintDatabases(const RunPlan& run, std::ostream& out) {
  out << "Базы данных (в порядке пакетов):\n";
  for (const DatabasePlan& d : run.databases) {
    out << "  " << (d.path.empty() ? "(не задана)" : d.path) << "\n";
    switch (d.open) {
      case OpenResult::Absent: out << "    нет файла\n"; continue;
      case OpenResult::Refused: out << "    НЕ открывается: " << d.refusal << "\n"; continue;
      case OpenResult::Opened: break;
    }
    out << "    открывается; Version " << FieldText(d.version) << ", ServicePack " << FieldText(d.servicePack)
        << ", Build " << FieldText(d.build) << "; уровень " << d.level << "\n";
    out << "    пакеты:";
    if (d.packs.empty()) out << " нет";
    for (const std::string& p : d.packs) out << " " << p;
    out << "\n";
  }
}

void PrintSteps(const RunPlan& run, std::ostream& out) {
  if (run.noDatabase) {
    out << "Рабочий уровень: нет (ни одна база данных не открывается)\n";
    return;
  }
  out << "Рабочий уровень: " << run.workingLevel << "\n";
  out << "Шаги:\n";
  for (const StepPlan& s : run.steps) {
    out << "  " << (s.step->number < 10 ? " " : "") << s.step->number << " " << s.step->skipLabel << ": "
        << (s.runs ? "выполняется" : "пропускается");
    if (s.runs) {
      out << " (";
      for (size_t i = 0; i < s.step->packs.size(); ++i) out << (i ? ", " : "") << s.step->packs[i].pack->name;
      out << ")";
    }
    out << "\n";
  }
}

void PrintFiles(const InstallPlan& plan, std::ostream& out) {
  if (plan.numbered) {
    out << "Файлы программы и реестр: не меняются (нумерованная установка)\n";
    return;
  }
  out << "Файлы программы:\n";
  for (const std::string& path : plan.deleted) out << "  удаляется: " << path << "\n";
  for (const ProgramFilePlan& f : plan.files) {
    out << "  " << f.path << ": ";
    if (!f.carried)
      out << "пакета нет, не пишется";
    else if (f.replaced)
      out << (f.exists ? "заменяется" : "записывается");
    else
      out << "есть, остаётся";
    if (f.inUse) out << "; СЕЙЧАС ИСПОЛЬЗУЕТСЯ";
    out << "\n";
  }
  out << "Реестр (текущий пользователь):";
  for (const auto& [name, value] : plan.registry) out << " " << name << " = " << value << ";";
  out << "\n";
}

}  // namespace

int RunPlanCommand(const CommandLine& cl, std::ostream& out, std::ostream& err) {
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  ReadOnlyFileSystem fs(RealFileSystem());  // the register log's lines are dropped with the rest
  console::ConsoleDialog dialog(err);       // prints messages; a question is answered Yes, as a run would go on
  std::optional<Installation> found = LookUpInstallation(cl, *registry, fs, dialog, err);
  if (!found) return kStartRefused;
  Installation& installation = *found;
  const std::string ownPath = RealProcesses().OwnPath();
  Clock& clock = SystemClock();

  DatabaseSnapshot snapshot(installation.databases);
  std::unique_ptr<fb::Client> client = LoadClient(dialog);
  FirebirdVersionState version;
  PackProgress progress(nullptr, clock);
  MigrationServices migration{*client, installation, dialog, fs, version, progress};
  std::unique_ptr<OwnExecutable> executable = OpenBundledExecutable(ownPath, true);
  InstallPlanServices services{migration, *registry, *executable, ownPath, FileInUse, snapshot.Held()};
  InstallPlan plan = PlanInstall(services);
  for (DatabasePlan& d : plan.run.databases) d.path = snapshot.Original(d.path);

  out << "План обновления (ничего не изменяется)\n";
  out << "Установка: "
      << (cl.installation.numbered ? "№" + std::to_string(cl.installation.number) : std::string("основная")) << "\n";
  out << "Данные: " << installation.folders.data << "\n";
  out << "Сервер Firebird: " << version.FirebirdVersion << "\n";
  out << "Устанавливается: ServicePack " << plan.carried.servicePack << ", Build " << plan.carried.build
      << "; установлено: ServicePack " << plan.installed.servicePack << ", Build " << plan.installed.build << "\n";
  for (const std::string& line : plan.decision.lines) out << "  " << line << "\n";
  PrintDatabases(plan.run, out);
  PrintSteps(plan.run, out);
  const std::optional<FormatExcess> formats = LargestFormatForecast(migration);
  if (formats)
    out << "Форматы таблиц: больше всего у " << formats->table << " (" << snapshot.Original(formats->database)
        << "): " << formats->formats << " сейчас, до " << formats->formats + formats->added << " после обновления, из "
        << kMaxTableFormats << " возможных\n";
  int toBackUp = 0;
  for (const DatabasePlan& d : plan.run.databases) toBackUp += d.packs.empty() ? 0 : 1;
  out << "Резервная копия перед первым пакетом: " << toBackUp << " баз данных, в " << BackupRoot(installation.folders)
      << (cl.backup ? "" : " (не делается: --no-backup)") << "\n";
  PrintFiles(plan, out);

  int status = kCompleted;
  if (!plan.decision.Offered()) {
    out << "Итог: обновление не предлагается\n";
    status = kVersionBlocked;
  } else if (plan.run.noDatabase) {
    out << "Итог: обновление невозможно: ни одна база данных не открывается (" << installation.folders.data << ")\n";
    status = kNoDatabase;
  } else if (formats && formats->formats + formats->added > kMaxTableFormats) {
    out << "Итог: обновление не начнётся: таблица " << formats->table << " превысит предел форматов\n";
    status = kPlanBlocked;
  } else if (!plan.run.CanProceed()) {
    out << "Итог: обновление остановится"
        << (plan.run.blockedBy.empty() ? std::string() : " на пакете " + plan.run.blockedBy)
        << ": не все базы данных открываются\n";
    status = kPlanBlocked;
  } else {
    out << "Итог: обновление может быть выполнено\n";
  }
  return status;
}

}  // namespace kv
