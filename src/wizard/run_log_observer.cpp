/*
** The migration's details in the run log.
*/
#include "wizard/run_log_observer.h"

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
  try {
    log_.Write("Пакет " + pack + ": начат");
  } catch (...) {
  }
}

void RunLogObserver::PackEnded(const std::string& pack, std::int32_t count, std::int32_t expected,
                               bool succeeded) noexcept {
  try {
    log_.Write("Пакет " + pack + ": " + (succeeded ? "завершён" : "НЕ завершён") + ", операций " +
               std::to_string(count) + " из " + std::to_string(expected));
  } catch (...) {
  }
}

void RunLogObserver::DatabaseVisited(const std::string& path, std::int32_t before, std::int32_t after,
                                     bool applied) noexcept {
  try {
    const auto failed = failures_.find(path);
    const int errors = failed == failures_.end() ? 0 : failed->second;
    if (failed != failures_.end()) failures_.erase(failed);
    const auto shortfall = shortfalls_.find(path);
    std::string counted;
    if (shortfall != shortfalls_.end()) {
      counted = ", операций " + std::to_string(shortfall->second.first) + " из " +
                std::to_string(shortfall->second.second) + ", уровень не записан";
      shortfalls_.erase(shortfall);
    }
    const std::string levels = std::to_string(before) + " -> " + std::to_string(after);
    if (!applied)
      log_.Write("  " + path + ": уровень " + std::to_string(before) + ", пропущена");
    else if (errors > 0)
      log_.Write("  " + path + ": обработана с ошибками (" + std::to_string(errors) + "), уровень " + levels + counted);
    else if (!counted.empty())
      log_.Write("  " + path + ": обработана не полностью, уровень " + levels + counted);
    else
      log_.Write("  " + path + ": обновлена, уровень " + levels);
  } catch (...) {
  }
}

void RunLogObserver::VisitFellShort(const std::string& path, std::int32_t counted, std::int32_t due) noexcept {
  try {
    shortfalls_[path] = {counted, due};
  } catch (...) {
  }
}

void RunLogObserver::DatabaseUnopenable(const std::string& path, const std::string& reason) noexcept {
  try {
    log_.Write(DescribeRefusal(path, reason));
  } catch (...) {
  }
}

void RunLogObserver::StatementFailed(const std::string& path, const std::string& text,
                                     const std::string& reason) noexcept {
  try {
    ++failures_[path];
    log_.Write(DescribeFailure(path, text, reason));
  } catch (...) {
  }
}

}  // namespace kv
