/*
** The detailed run log: one UTF-8 text file per run in the installation's Info
** folder, kvupgrade-YYYYMMDD-HHMMSS.log, beside the register log (which stays
** as it is). Every line is appended on its own and the file closed again, so a
** run that is killed leaves every line up to the moment it died.
**
** The log never stops the run: when a line cannot be written, the log says so
** once through Failed() and drops the rest.
*/
#pragma once

#include <exception>
#include <string>
#include <type_traits>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace kv {

/* "kvupgrade-YYYYMMDD-HHMMSS.log" for the moment t. */
std::string RunLogName(const LocalDateTime& t);

/* "dd.MM.yyyy HH:mm:ss". */
std::string FormatRunLogTime(const LocalDateTime& t);

class RunLog {
 public:
  /* A log in infoFolder (ending in the separator), named by the clock's now. */
  RunLog(FileSystem& fs, Clock& clock, const std::string& infoFolder);
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  const std::string& Path() const { return path_; }
  /* Appends "HH:MM:SS text"; a "\r" in text becomes " | ", a "\n" starts an
  ** indented continuation line. */
  void Write(const std::string& text) noexcept {
    Write([&text]() -> const std::string& { return text; });
  }
  /* The same for the text makeText() returns: it is made under the log's
  ** guard, so that a caller that must not throw need not guard it again. */
  template <class MakeText>
    requires std::is_invocable_v<MakeText&>
  void Write(MakeText&& makeText) noexcept {
    if (failed_) return;
    try {
      Append(makeText());
    } catch (const std::exception&) {
      failed_ = true;  // memory, a full disk or a vanished folder must not end the upgrade
    }
  }
  /* True once a line could not be written. */
  bool Failed() const { return failed_; }

 private:
  void Append(const std::string& text);

  FileSystem& fs_;
  Clock& clock_;
  std::string path_;
  bool failed_ = false;
};

}  // namespace kv
