/*
** The program's paths are UTF-8 strings. A std::filesystem::path made from a
** plain std::string reads it in the system's 8-bit code page on Windows, which
** garbles every Cyrillic folder name: go through these two instead.
*/
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

inline std::filesystem::path Utf8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8String(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace kv
