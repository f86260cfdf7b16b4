/*
** The register log: one line per reported event, in the yearly log file of
** the installation's Info folder, shared with the other programs of the
** installation (Windows-1251, CR LF, opened and closed on every call).
*/
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/file_system.h"

namespace kv {

/* Application title of this program; the default caption of log lines. */
inline constexpr const char* kApplicationTitle = "upgrade 7.10 d";

class RegisterLog {
 public:
  struct Setup {
    std::string title = kApplicationTitle;
    std::string ownPath;     // the running program's full path (caption of code 1)
    std::string infoFolder;  // created on demand for codes 0 and 4000
    std::string logPath;     // the yearly log file
  };

  RegisterLog(Setup setup, FileSystem& fs, Clock& clock, OperatorDialog& dialog)
      : setup_(std::move(setup)), fs_(fs), clock_(clock), dialog_(dialog) {}

  /* Writes the line of code (two lines for 0 and 4000: an empty one first).
  ** Throws FileError when the log cannot be opened or written. */
  void ReportCode(std::int32_t code);

  /* The count some captions carry; no caller of this program sets it. */
  void SetDetail(std::int32_t n) { detail_ = n; }

  const Setup& Settings() const { return setup_; }

 private:
  std::string Caption(std::int32_t code) const;

  Setup setup_;
  FileSystem& fs_;
  Clock& clock_;
  OperatorDialog& dialog_;
  std::int32_t detail_ = 0;
};

/* Date and time as the process-wide settings write them: "dd.MM.yyyy HH:mm:ss",
** and only the date at exactly midnight. */
std::string FormatDateTime(const LocalDateTime& t);

/* Decimal code left-padded with "0" to at least three digits. */
std::string PadCode(std::int32_t code);

}  // namespace kv
