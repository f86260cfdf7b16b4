/*
** The migration's details in the run log.
*/
#include "wizard/run_log_observer.h"

#include <new>
#include <optional>
#include <utility>

namespace kv {

namespace {

/* The engine's message is several lines padded with blanks: each on its own,
** the later ones indented. */
std::string IndentedLines(const std::string& reason) {
  std::string out, line;
  bool first = true;
  auto flush = [&] {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    out += (first ? "" : "\n  ") + line;
    first = false;
    line.clear();
  };
  for (char c : reason) {
    if (c == '\n')
      flush();
    else
      line += c;
  }
  flush();
  return out;
}

}  // namespace

std::string DescribeRefusal(const std::string& path, const std::string& reason) {
  return "База данных не открывается: " + path + ": " + IndentedLines(reason);
}

std::string DescribeFailure(const std::string& path, const std::string& text, const std::string& reason) {
  std::string out = "Ошибка: " + (path.empty() ? std::string() : path + ": ") + IndentedLines(reason);
  std::string statement;
  for (char c : text) {
    if (c == '\r') continue;
    statement += c == '\n' ? ' ' : c;
  }
  while (!statement.empty() && statement.back() == ' ') statement.pop_back();
  if (!statement.empty()) out += "\n  оператор: " + statement;
  return out;
}

void RunLogObserver::PackStarted(const std::string& pack) noexcept {
  log_.Write([&] { return "Пакет " + pack + ": начат"; });
}

void RunLogObserver::PackEnded(const std::string& pack, std::int32_t count, std::int32_t expected,
                               bool succeeded) noexcept {
  log_.Write([&] {
    return "Пакет " + pack + ": " + (succeeded ? "завершён" : "НЕ завершён") + ", операций " +
           std::to_string(count) + " из " + std::to_string(expected);
  });
}

void RunLogObserver::DatabaseVisited(const std::string& path, std::int32_t before, std::int32_t after,
                                     bool applied) noexcept {
  // The notes taken during the visit are used up here, whether or not the line can be written.
  const auto failed = failures_.find(path);
  const int errors = failed == failures_.end() ? 0 : failed->second;
  if (failed != failures_.end()) failures_.erase(failed);
  const auto shortfall = shortfalls_.find(path);
  const std::optional<std::pair<std::int32_t, std::int32_t>> fellShort =
      shortfall == shortfalls_.end() ? std::nullopt : std::optional(shortfall->second);
  if (shortfall != shortfalls_.end()) shortfalls_.erase(shortfall);
  log_.Write([&] {
    const std::string counted = fellShort ? ", операций " + std::to_string(fellShort->first) + " из " +
                                                std::to_string(fellShort->second) + ", уровень не записан"
                                          : std::string();
    const std::string levels = std::to_string(before) + " -> " + std::to_string(after);
    if (!applied) return "  " + path + ": уровень " + std::to_string(before) + ", пропущена";
    if (errors > 0)
      return "  " + path + ": обработана с ошибками (" + std::to_string(errors) + "), уровень " + levels + counted;
    if (fellShort) return "  " + path + ": обработана не полностью, уровень " + levels + counted;
    return "  " + path + ": обновлена, уровень " + levels;
  });
}

void RunLogObserver::VisitFellShort(const std::string& path, std::int32_t counted, std::int32_t due) noexcept {
  try {
    shortfalls_[path] = {counted, due};
  } catch (const std::bad_alloc&) {
    // The database's line then reads as a full visit; an observer has no one to tell.
  }
}

void RunLogObserver::DatabaseUnopenable(const std::string& path, const std::string& reason) noexcept {
  log_.Write([&] { return DescribeRefusal(path, reason); });
}

void RunLogObserver::StatementFailed(const std::string& path, const std::string& text,
                                     const std::string& reason) noexcept {
  try {
    ++failures_[path];
  } catch (const std::bad_alloc&) {
    // The database's line then counts one error fewer; this one is still written below.
  }
  log_.Write([&] { return DescribeFailure(path, text, reason); });
}

}  // namespace kv
