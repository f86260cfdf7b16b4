/*
** The result file of --result-file: one JSON document that tells a script how
** the run ended (exit status and its meaning), on which installation, what
** happened to each database (path, level before and after, outcome), where the
** backup and the run log are, and when the run started and ended.
**
** It is written once, when the run ends, to a ".part" beside it that is then
** renamed: a run killed half-way leaves no result file, never half of one. A
** result left at the path by an earlier run is removed when the run starts, so
** a file that is there tells of this run.
*/
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "startup/database_paths.h"
#include "wizard/run_report.h"

namespace kv {

/* What the result file holds besides the run's report. */
struct RunEnd {
  int status = 0;
  InstallationParams installation;
  LocalDateTime start, end;
  std::chrono::milliseconds duration{0};
};

/* The result document, indented, UTF-8 (a byte that is not UTF-8 becomes U+FFFD). */
std::string ResultJson(const RunEnd& end, const RunReport& report);

/* "YYYY-MM-DDTHH:MM:SS", local time. */
std::string IsoLocalTime(const LocalDateTime& t);

class ResultFile {
 public:
  /* path: absolute, or "" when no result file was asked for. Removes a
  ** result file an earlier run left there and notes the start. */
  ResultFile(FileSystem& fs, Clock& clock, std::string path);

  /* Writes the result of the run that ends with status, unless the copy in
  ** the version folder took the run over (it writes its own). False, and the
  ** reason on err, when the file cannot be written. */
  bool Write(int status, const InstallationParams& installation, const RunReport& report, std::ostream& err);

 private:
  FileSystem& fs_;
  Clock& clock_;
  std::string path_;
  LocalDateTime start_;
  std::chrono::steady_clock::time_point started_;
};

}  // namespace kv
