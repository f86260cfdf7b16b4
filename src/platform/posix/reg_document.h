/*
** A registry export file (".reg", "Windows Registry Editor Version 5.00") held
** in memory as its lines, with an index of keys and values over them.
**
** Reading needs the index; writing edits the lines in place so that every other
** key, value, comment and blank line of the file survives byte for byte.
** The text is UTF-8 (an optional byte-order mark is kept), with LF or CR LF line
** ends (kept as found).
*/
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace kv {

class RegDocument {
 public:
  /* Parses content; fileName only names the file in error messages.
  ** Throws RegistryError naming the file and line of the first fault. */
  static RegDocument Parse(std::string_view content, const std::string& fileName);

  /* A key exists when a section names it or any key below it. */
  bool HasKey(RegistryHive hive, std::string_view path) const;

  std::optional<std::string> ReadString(RegistryHive hive, std::string_view path,
                                        std::string_view name) const;
  std::optional<std::uint32_t> ReadDword(RegistryHive hive, std::string_view path,
                                         std::string_view name) const;

  /* Sets a DWORD value, adding the value line (and the key's section) when missing. */
  void SetDword(RegistryHive hive, std::string_view path, std::string_view name,
                std::uint32_t value);

  std::string Serialize() const;

 private:
  enum class Kind { String, Dword, Other };
  struct Value {
    std::string folded;  // name in folded case, for lookups
    Kind kind = Kind::Other;
    std::string text;
    std::uint32_t dword = 0;
    size_t firstLine = 0, lastLine = 0;  // physical lines, inclusive
  };
  struct Section {
    std::string hiveName;  // as written: HKEY_CURRENT_USER ...
    std::string folded;    // "hkey_current_user\software\..." without trailing "\"
    size_t headerLine = 0;
    std::vector<Value> values;
  };

  void Reindex(const std::string& fileName);
  const Value* FindValue(RegistryHive hive, std::string_view path, std::string_view name) const;

  std::vector<std::string> lines_;
  bool crlf_ = false;
  bool bom_ = false;
  bool finalNewline_ = true;
  std::vector<Section> sections_;
};

/* Registry key path in the form used for comparisons: ASCII and Cyrillic
** letters in lower case, no leading or trailing backslash. */
std::string FoldKeyName(std::string_view name);

}  // namespace kv
