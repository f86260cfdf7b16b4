/*
** Moments as text.
*/
#include "platform/date_time_text.h"

#include <cstdio>

namespace kv {
namespace {

void Append(std::string& out, int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", digits, value);
  out += text;
}

}  // namespace

std::string FormatLocal(const LocalDateTime& t, std::string_view pattern) {
  struct Field {
    std::string_view token;
    int LocalDateTime::*value;
  };
  static constexpr Field kFields[] = {{"yyyy", &LocalDateTime::year},  {"MM", &LocalDateTime::month},
                                      {"dd", &LocalDateTime::day},     {"HH", &LocalDateTime::hour},
                                      {"mm", &LocalDateTime::minute},  {"ss", &LocalDateTime::second}};
  std::string out;
  for (std::size_t at = 0; at < pattern.size();) {
    const Field* field = nullptr;
    for (const Field& f : kFields)
      if (pattern.substr(at, f.token.size()) == f.token) field = &f;
    if (field) {
      Append(out, t.*(field->value), static_cast<int>(field->token.size()));
      at += field->token.size();
    } else {
      out += pattern[at++];
    }
  }
  return out;
}

}  // namespace kv
