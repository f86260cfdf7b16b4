/*
** The portable half of 8-bit text handling: UTF-8 structure checks and the
** choice between UTF-8 and Windows-1251 for files shared with Windows programs.
*/
#include "platform/text_codec.h"

namespace kv {

std::size_t Utf8SequenceLength(std::string_view text) {
  auto lead = static_cast<unsigned char>(text[0]);
  std::size_t n = lead < 0x80            ? 1
                  : (lead >> 5) == 0x6   ? 2
                  : (lead >> 4) == 0xE   ? 3
                  : (lead >> 3) == 0x1E  ? 4
                                         : 1;
  if (n > text.size()) return 1;
  for (std::size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  return n;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t n = Utf8SequenceLength(text.substr(i));
    if (n == 1 || (n == 2 && c < 0xC2)) return false;  // stray byte or overlong form
    i += n;
  }
  return true;
}

namespace {

/* Capital of a code point that Windows-1251 holds in both cases; c otherwise. */
char32_t AnsiUpperChar(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;  // а to я
  // ѐ to џ: the code page lacks ѐ and ѝ, which therefore stay as they are.
  if (c >= 0x451 && c <= 0x45F && c != 0x45D) return c - 0x50;
  if (c == 0x491) return 0x490;  // ґ
  return c;
}

/* Appends a code point below 0x800 (every capital above) as UTF-8. */
void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::string AnsiUpper(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t n = Utf8SequenceLength(utf8.substr(i));
    const auto lead = static_cast<unsigned char>(utf8[i]);
    // Only one- and two-byte sequences can hold a letter that changes.
    char32_t c = 0;
    if (n == 1 && lead < 0x80)
      c = lead;
    else if (n == 2)
      c = (static_cast<char32_t>(lead & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
    const char32_t upper = AnsiUpperChar(c);
    if (c != 0 && upper != c)
      AppendUtf8(out, upper);
    else
      out.append(utf8.substr(i, n));
    i += n;
  }
  return out;
}

std::string EightBitToUtf8(std::string_view content) {
  if (content.substr(0, 3) == "\xEF\xBB\xBF") return std::string(content.substr(3));
  if (IsValidUtf8(content)) return std::string(content);
  return AnsiToUtf8(content);
}

}  // namespace kv
