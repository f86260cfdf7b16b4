/*
** The detailed run log.
*/
#include "startup/run_log.h"

#include <cstdio>

namespace kv {
namespace {

std::string TwoDigits(int n) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", n);
  return b;
}

}  // namespace

std::string RunLogName(const LocalDateTime& t) {
  char b[64];
  std::snprintf(b, sizeof b, "kvupgrade-%04d%02d%02d-%02d%02d%02d.log", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return b;
}

std::string FormatRunLogTime(const LocalDateTime& t) {
  return TwoDigits(t.day) + "." + TwoDigits(t.month) + "." + std::to_string(t.year) + " " + TwoDigits(t.hour) +
         ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

RunLog::RunLog(FileSystem& fs, Clock& clock, const std::string& infoFolder)
    : fs_(fs), clock_(clock), path_(infoFolder + RunLogName(clock.Now())) {}

void RunLog::Write(const std::string& text) noexcept {
  if (failed_) return;
  try {
    const LocalDateTime t = clock_.Now();
    std::string line = TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second) + " ";
    for (char c : text) {
      if (c == '\r')
        line += " | ";
      else if (c == '\n')
        line += "\n         ";  // continuation lines under the text, past the time
      else
        line += c;
    }
    line += '\n';
    fs_.AppendToFile(path_, line);
  } catch (const std::exception&) {
    failed_ = true;  // a full disk or a vanished folder must not end the upgrade
  }
}

}  // namespace kv
