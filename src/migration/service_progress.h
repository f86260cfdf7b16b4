/*
** What a backup, its check or a restore is busy with, read from the service's
** verbose output, so that the operator sees a long one move: the table whose
** rows are being copied and how many have passed, then the index being built.
**
** The service writes a line per table ("writing data for table X",
** "restoring data for table X"), a count every 10,000 rows ("20000 records
** written"), and a line per index it builds at the end of a restore
** ("activating and creating deferred index X"). Other lines change nothing.
*/
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

/* The shortest time between two reports of one action. */
inline constexpr std::chrono::milliseconds kProgressInterval{500};

class ServiceProgress {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  /* Reads one line of output seen at now. Returns the text to show (in
  ** Russian: "таблица X, 20000 записей", "индекс X") when the activity changed
  ** and the last text returned is at least kProgressInterval old, or none was
  ** returned yet, or an index is begun (the service says nothing more while it
  ** builds one, so a later line cannot correct the text); nullopt otherwise. */
  std::optional<std::string> Read(std::string_view line, TimePoint now);

  /* The activity as the lines read so far leave it ("" before the first). */
  std::string Describe() const;

 private:
  /* Takes the line into the activity; true when it changed. */
  bool Take(std::string_view line);

  std::string table_, index_;
  std::optional<std::int64_t> records_;
  std::optional<TimePoint> lastShown_;
};

}  // namespace kv
