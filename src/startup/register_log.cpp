/*
** Forming and appending register log lines.
*/
#include "startup/register_log.h"

#include <cstdio>

#include "platform/date_time_text.h"
#include "platform/text_codec.h"
#include "startup/code_table.h"

namespace kv {

std::string FormatDateTime(const LocalDateTime& t) {
  const bool midnight = t.hour == 0 && t.minute == 0 && t.second == 0;
  return FormatLocal(t, midnight ? "dd.MM.yyyy" : "dd.MM.yyyy HH:mm:ss");
}

std::string PadCode(std::int32_t code) {
  // The sign stays in front of the zeros: -5 gives "-005".
  char buf[16];
  long long magnitude = code < 0 ? -static_cast<long long>(code) : code;
  std::snprintf(buf, sizeof buf, "%s%03lld", code < 0 ? "-" : "", magnitude);
  return buf;
}

std::string RegisterLog::Caption(std::int32_t code) const {
  const std::string count = std::to_string(detail_);
  for (const CodeRow& row : CodeTable()) {
    if (row.code != code) continue;
    const std::string text(row.text);
    switch (row.kind) {
      case CaptionKind::Text: return text;
      case CaptionKind::TextTitle: return text + " " + setup_.title;
      case CaptionKind::TextPath: return text + ": " + setup_.ownPath;
      case CaptionKind::TextCount: return text + " " + count;
      case CaptionKind::TitleTextCount: return setup_.title + ". " + text + " " + count;
      case CaptionKind::DashCount: return "-" + count;
    }
  }
  return setup_.title;
}

void RegisterLog::ReportCode(std::int32_t code) {
  const bool newBlock = code == 0 || code == 4000;
  if (newBlock) {
    if (!fs_.DirExists(setup_.infoFolder)) fs_.CreateDirs(setup_.infoFolder);
    if (!fs_.DirExists(setup_.infoFolder)) return;
  }
  std::string caption = Caption(code);
  if (detail_ > 0 && code >= 101 && code <= 104) {
    dialog_.ShowMessage("Произошла ошибка. Код: " + std::to_string(code) + "-" +
                        std::to_string(detail_) + "\r\r" + "Проверьте по таблице кодов");
    detail_ = 0;
  }
  std::string line = caption + " " + PadCode(code) + ": *" + FormatDateTime(clock_.Now());
  std::string bytes = newBlock ? "\r\n" : "";
  bytes += Utf8ToAnsi(line) + "\r\n";
  fs_.AppendToFile(setup_.logPath, bytes);
}

}  // namespace kv
