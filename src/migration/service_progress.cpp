/*
** The activity of a service action, from its output lines.
*/
#include "migration/service_progress.h"

#include "platform/text_util.h"

namespace kv {
namespace {

/* The rest of line after the first occurrence of mark, trimmed; nullopt without mark. */
std::optional<std::string_view> After(std::string_view line, std::string_view mark) {
  const std::size_t at = line.find(mark);
  if (at == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(at + mark.size()));
}

/* The number at the start of line before " records", e.g. "   20000 records restored". */
std::optional<std::int64_t> RecordCount(std::string_view line) {
  if (line.rfind("gbak:", 0) == 0) line.remove_prefix(5);
  line = TrimBlanks(line);
  const std::size_t end = line.find(" records ");
  if (end == std::string_view::npos || end == 0) return std::nullopt;
  std::int64_t n = 0;
  for (char c : line.substr(0, end)) {
    if (c < '0' || c > '9' || n > (INT64_MAX - 9) / 10) return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

bool ServiceProgress::Take(std::string_view line) {
  for (std::string_view mark : {"writing data for table ", "restoring data for table "}) {
    if (const auto table = After(line, mark); table && !table->empty()) {
      table_ = std::string(*table);
      index_.clear();
      records_.reset();
      return true;
    }
  }
  if (const auto index = After(line, "creating deferred index "); index && !index->empty()) {
    index_ = std::string(*index);
    return true;
  }
  if (const auto n = RecordCount(line); n && !table_.empty() && index_.empty() && n != records_) {
    records_ = n;
    return true;
  }
  return false;
}

std::string ServiceProgress::Describe() const {
  if (!index_.empty()) return "индекс " + index_;
  if (table_.empty()) return "";
  return "таблица " + table_ + (records_ ? ", " + std::to_string(*records_) + " записей" : "");
}

std::optional<std::string> ServiceProgress::Read(std::string_view line, TimePoint now) {
  if (!Take(line)) return std::nullopt;
  if (index_.empty() && lastShown_ && now - *lastShown_ < kProgressInterval) return std::nullopt;
  lastShown_ = now;
  return Describe();
}

}  // namespace kv
