/*
** Path text conventions shared by every part of the program.
**
** Folder texts always end in the native separator, so a file path is simply
** folder + name. Logic builds paths only through these helpers.
*/
#pragma once

#include <string>
#include <string_view>

namespace kv {

#ifdef _WIN32
inline constexpr char kPathSep = '\\';
#else
inline constexpr char kPathSep = '/';
#endif

/* Returns the folder text with exactly one trailing separator added when missing.
** An empty text stays empty: there is no folder to terminate. */
inline std::string WithTrailingSep(std::string_view folder) {
  std::string out(folder);
  if (!out.empty() && out.back() != kPathSep) out.push_back(kPathSep);
  return out;
}

/* Folder part of a path, including its trailing separator ("" when none). */
inline std::string FolderOf(std::string_view path) {
  auto pos = path.find_last_of(kPathSep);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

/* File name part of a path (everything after the last separator). */
inline std::string FileNameOf(std::string_view path) {
  auto pos = path.find_last_of(kPathSep);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

}  // namespace kv
