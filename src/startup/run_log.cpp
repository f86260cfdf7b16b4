/*
** The detailed run log.
*/
#include "startup/run_log.h"

#include "platform/date_time_text.h"

namespace kv {

std::string RunLogName(const LocalDateTime& t) { return "kvupgrade-" + FormatLocal(t, "yyyyMMdd-HHmmss") + ".log"; }

std::string FormatRunLogTime(const LocalDateTime& t) { return FormatLocal(t, "dd.MM.yyyy HH:mm:ss"); }

RunLog::RunLog(FileSystem& fs, Clock& clock, const std::string& infoFolder)
    : fs_(fs), clock_(clock), path_(infoFolder + RunLogName(clock.Now())) {}

void RunLog::Append(const std::string& text) {
  std::string line = FormatLocal(clock_.Now(), "HH:mm:ss ");
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
}

}  // namespace kv
