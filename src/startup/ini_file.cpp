/*
** Ini text lookup with the Windows profile rules.
*/
#include "startup/ini_file.h"

#include "platform/text_util.h"

namespace kv {

std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key) {
  bool inSection = false;
  bool sectionSeen = false;
  for (std::string_view line : SplitLines(text)) {
    line = TrimBlanks(line);
    if (line.empty()) continue;
    if (line.front() == '[') {
      auto close = line.find(']');
      std::string_view name = TrimBlanks(line.substr(1, close == std::string_view::npos ? close : close - 1));
      // Only the first section of a name is looked at.
      if (inSection) return std::nullopt;
      inSection = !sectionSeen && EqualsIgnoreAsciiCase(name, section);
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    if (!inSection || line.front() == ';') continue;
    auto eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (!EqualsIgnoreAsciiCase(TrimBlanks(line.substr(0, eq)), key)) continue;
    std::string_view value = TrimBlanks(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

}  // namespace kv
