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

std::string EightBitToUtf8(std::string_view content) {
  if (content.substr(0, 3) == "\xEF\xBB\xBF") return std::string(content.substr(3));
  if (IsValidUtf8(content)) return std::string(content);
  return AnsiToUtf8(content);
}

}  // namespace kv
