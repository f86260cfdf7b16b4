/*
** Judging the server version text. The number is rounded in decimal, exactly,
** so that 2.45 gives 24 as it would on paper (binary floating point might not).
*/
#include "migration/server_version.h"

#include <stdexcept>

namespace kv {

std::optional<std::int32_t> ParseFirebirdVersion(std::string_view text) {
  // Keep the text after the last blank.
  if (auto blank = text.rfind(' '); blank != std::string_view::npos) text.remove_prefix(blank + 1);

  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string digits;  // all mantissa digits
  long pointAt = -1;   // how many of them stand before the decimal point
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      digits.push_back(c);
    } else if (c == '.' && pointAt < 0) {
      pointAt = static_cast<long>(digits.size());
    } else {
      break;
    }
  }
  if (digits.empty()) return std::nullopt;
  if (pointAt < 0) pointAt = static_cast<long>(digits.size());
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) expNegative = text[j++] == '-';
    if (j >= text.size()) return std::nullopt;
    long exponent = 0;
    for (; j < text.size(); ++j) {
      if (text[j] < '0' || text[j] > '9') return std::nullopt;
      exponent = std::min(exponent * 10 + (text[j] - '0'), 100000L);
    }
    pointAt += expNegative ? -exponent : exponent;
    i = j;
  }
  if (i != text.size()) return std::nullopt;

  // Times ten: the point moves one place right. Whole part and the rest decide.
  pointAt += 1;
  std::string whole, rest;
  for (long k = 0; k < static_cast<long>(digits.size()); ++k)
    (k < pointAt ? whole : rest).push_back(digits[static_cast<size_t>(k)]);
  if (pointAt > static_cast<long>(digits.size())) whole.append(static_cast<size_t>(pointAt) - digits.size(), '0');

  long long value = 0;
  for (char c : whole) {
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) throw std::out_of_range("server version out of range");
  }
  if (!rest.empty()) {
    const bool aboveHalf = rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
    const bool exactlyHalf = rest[0] == '5' && !aboveHalf;
    if (aboveHalf || (exactlyHalf && value % 2 == 1)) ++value;
  }
  if (negative) value = -value;
  if (value > 2147483647LL || value < -2147483648LL) throw std::out_of_range("server version out of range");
  return static_cast<std::int32_t>(value);
}

std::string OldFirebirdWarning(std::int32_t v) {
  // The version divided by ten in its shortest decimal form: 21 gives 2.1, 10 gives 1.
  std::string shown = std::to_string(v / 10);
  if (v % 10 != 0) shown += "." + std::to_string(v % 10 < 0 ? -(v % 10) : v % 10);
  return "У Вас устаревшая версия Firebird " + shown + "\r\r" +
         "Новую версию Firebird 2.5 можно приобрести у разработчика" + "\r" + "БЕСПЛАТНО (т.е. на халяву)" +
         "\r\r" + "PS. Работоспособность программы \"Квенира\"" + "\r" + "на старом Firebird не гарантируется";
}

bool AcceptServerVersion(const std::string& versionText, FirebirdVersionState& state, OperatorDialog& dialog) {
  state.FirebirdVersion = ParseFirebirdVersion(versionText).value_or(-1);
  if (state.FirebirdVersion > 0 && state.FirebirdVersion < 25) {
    dialog.ShowMessage(OldFirebirdWarning(state.FirebirdVersion));
    return dialog.AskYesNo("Продолжить установку?");
  }
  return true;
}

}  // namespace kv
