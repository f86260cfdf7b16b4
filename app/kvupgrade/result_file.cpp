/*
** The result file.
*/
#include "result_file.h"

#include <nlohmann/json.hpp>

#include "exit_statuses.h"
#include "platform/date_time_text.h"
#include "platform/scope_exit.h"
#include "usage.h"

namespace kv {
namespace {

using nlohmann::ordered_json;

ordered_json TextOrNull(const std::string& text) { return text.empty() ? ordered_json() : ordered_json(text); }

ordered_json LevelOrNull(const std::optional<std::int32_t>& level) {
  return level ? ordered_json(*level) : ordered_json();
}

ordered_json Installation(const InstallationParams& params, const std::optional<InstallFolders>& folders) {
  ordered_json out = {{"number", params.number}, {"numbered", params.numbered}};
  out["program_folder"] = folders ? TextOrNull(folders->program) : ordered_json();
  out["base_folder"] = folders ? TextOrNull(folders->base) : ordered_json();
  out["data_folder"] = folders ? TextOrNull(folders->data) : ordered_json();
  out["version_folder"] = folders ? TextOrNull(folders->version) : ordered_json();
  return out;
}

}  // namespace

std::string IsoLocalTime(const LocalDateTime& t) { return FormatLocal(t, "yyyy-MM-ddTHH:mm:ss"); }

std::string ResultJson(const RunEnd& end, const RunReport& report) {
  ordered_json databases = ordered_json::array();
  for (const DatabaseReport& d : report.Databases())
    databases.push_back({{"path", d.path},
                         {"level_before", LevelOrNull(d.before)},
                         {"level_after", LevelOrNull(d.after)},
                         {"outcome", OutcomeName(d.outcome)},
                         {"failed_statements", d.failedStatements}});
  const ordered_json doc = {
      {"program", "kvupgrade"},
      {"version", ProgramVersion()},
      {"exit_status", end.status},
      {"meaning", MeaningOfExitStatus(end.status)},
      {"installation", Installation(end.installation, report.Folders())},
      {"databases", databases},
      {"backup_folder", TextOrNull(report.BackupFolder())},
      {"run_log", TextOrNull(report.RunLogPath())},
      {"start", IsoLocalTime(end.start)},
      {"end", IsoLocalTime(end.end)},
      {"duration_seconds", static_cast<double>(end.duration.count()) / 1000.0},
  };
  return doc.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

ResultFile::ResultFile(FileSystem& fs, Clock& clock, std::string path)
    : fs_(fs), clock_(clock), path_(std::move(path)), start_(clock.Now()), started_(std::chrono::steady_clock::now()) {
  if (!path_.empty()) DeleteIfExists(fs_, path_);
}

bool ResultFile::Write(int status, const InstallationParams& installation, const RunReport& report,
                       std::ostream& err) {
  if (path_.empty() || report.HandedOverToCopy()) return true;
  const RunEnd end{status, installation, start_, clock_.Now(),
                   std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_)};
  const std::string part = path_ + ".part";
  ScopeExit removePart([&] { DeleteIfExists(fs_, part); });
  try {
    const std::string json = ResultJson(end, report);
    {
      std::unique_ptr<OutputFile> f = fs_.OpenForWrite(part);
      f->Write(json);
      f->Close();
    }
    fs_.RenameFile(part, path_);
    removePart.Release();
    return true;
  } catch (const std::exception& e) {
    // The run's own status stands; the script learns of this from the missing file and stderr.
    err << "kvupgrade: итог запуска не записан в " << path_ << ": " << e.what() << "\n";
    return false;
  }
}

}  // namespace kv
