/*
** Parsing and in-place editing of registry export files.
*/
#include "platform/posix/reg_document.h"

#include <cstdio>

#include "platform/text_util.h"

namespace kv {
namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

const char* HiveName(RegistryHive hive) {
  return hive == RegistryHive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

bool KnownHive(std::string_view name) {
  for (std::string_view h : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                             "HKEY_USERS", "HKEY_CURRENT_CONFIG"})
    if (name == h) return true;
  return false;
}

[[noreturn]] void Malformed(const std::string& file, size_t line, const std::string& why) {
  throw RegistryError("malformed registry file \"" + file + "\", line " + std::to_string(line + 1) +
                      ": " + why);
}

/* Reads a quoted text starting at s[0] == '"'; returns the unescaped text and
** advances s past the closing quote. Only \\ and \" are escapes. */
std::optional<std::string> ReadQuoted(std::string_view& s, std::string& why) {
  std::string out;
  size_t i = 1;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return out;
    }
    if (c == '\\') {
      if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
        why = "unknown escape in a quoted text (write \\\\ for a backslash)";
        return std::nullopt;
      }
      out.push_back(s[++i]);
      continue;
    }
    out.push_back(c);
  }
  why = "quoted text without its closing quote";
  return std::nullopt;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

std::string DwordLine(std::string_view name, std::uint32_t value) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08x", value);
  return Quote(name) + "=dword:" + hex;
}

/* A key path without separators at its ends. */
std::string TrimBackslashes(std::string p) {
  while (!p.empty() && p.back() == '\\') p.pop_back();
  while (!p.empty() && p.front() == '\\') p.erase(p.begin());
  return p;
}

std::string SectionPath(RegistryHive hive, std::string_view path) {
  const std::string p = TrimBackslashes(std::string(path));
  return std::string(HiveName(hive)) + (p.empty() ? "" : "\\" + p);
}

}  // namespace

std::string FoldKeyName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    if (c >= 'A' && c <= 'Z') {
      out.push_back(static_cast<char>(c + 32));
    } else if (c == 0xD0 && i + 1 < name.size()) {
      // Cyrillic capitals: U+0410..U+042F and U+0401.
      auto d = static_cast<unsigned char>(name[i + 1]);
      if (d >= 0x90 && d <= 0x9F) {
        out += {static_cast<char>(0xD0), static_cast<char>(d + 0x20)};
      } else if (d >= 0xA0 && d <= 0xAF) {
        out += {static_cast<char>(0xD1), static_cast<char>(d - 0x20)};
      } else if (d == 0x81) {
        out += {static_cast<char>(0xD1), static_cast<char>(0x91)};
      } else {
        out += {static_cast<char>(c), static_cast<char>(d)};
      }
      ++i;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return TrimBackslashes(std::move(out));
}

RegDocument RegDocument::Parse(std::string_view content, const std::string& fileName) {
  RegDocument doc;
  if (content.substr(0, 2) == "\xFF\xFE" || content.substr(0, 2) == "\xFE\xFF")
    throw RegistryError("registry file \"" + fileName +
                        "\" is in UTF-16; save it as UTF-8 text");
  if (content.substr(0, 3) == "\xEF\xBB\xBF") {
    doc.bom_ = true;
    content.remove_prefix(3);
  }
  doc.finalNewline_ = content.empty() || content.back() == '\n';
  size_t start = 0;
  while (start < content.size()) {
    size_t nl = content.find('\n', start);
    std::string_view line = content.substr(start, nl == std::string_view::npos ? nl : nl - start);
    if (!line.empty() && line.back() == '\r') {
      doc.crlf_ = true;
      line.remove_suffix(1);
    }
    doc.lines_.emplace_back(line);
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  doc.Reindex(fileName);
  return doc;
}

void RegDocument::Reindex(const std::string& fileName) {
  sections_.clear();
  bool headerSeen = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string_view line = TrimBlanks(lines_[i]);
    if (line.empty() || line.front() == ';') continue;
    if (!headerSeen) {
      if (line != kHeader5 && line != kHeader4)
        Malformed(fileName, i, "expected the header \"Windows Registry Editor Version 5.00\"");
      headerSeen = true;
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']') Malformed(fileName, i, "key line without its closing \"]\"");
      std::string_view path = line.substr(1, line.size() - 2);
      if (!path.empty() && path.front() == '-')
        Malformed(fileName, i, "key deletion entries are not supported");
      std::string_view hive = path.substr(0, path.find('\\'));
      if (!KnownHive(hive)) Malformed(fileName, i, "unknown registry hive \"" + std::string(hive) + "\"");
      sections_.push_back({std::string(hive), FoldKeyName(path), i, {}});
      continue;
    }
    if (sections_.empty()) Malformed(fileName, i, "value outside of any key");

    Value v;
    v.firstLine = i;
    std::string why;
    std::string_view rest = line;
    std::string name;
    if (rest.front() == '@') {
      rest.remove_prefix(1);
    } else if (rest.front() == '"') {
      auto quoted = ReadQuoted(rest, why);
      if (!quoted) Malformed(fileName, i, why);
      name = *quoted;
    } else {
      Malformed(fileName, i, "expected a key in brackets or a \"name\"=value line");
    }
    rest = TrimBlanks(rest);
    if (rest.empty() || rest.front() != '=') Malformed(fileName, i, "expected \"=\" after the value name");
    rest = TrimBlanks(rest.substr(1));
    v.folded = FoldKeyName(name);

    if (!rest.empty() && rest.front() == '"') {
      auto text = ReadQuoted(rest, why);
      if (!text) Malformed(fileName, i, why);
      if (!TrimBlanks(rest).empty()) Malformed(fileName, i, "unexpected text after the quoted value");
      v.kind = Kind::String;
      v.text = *text;
    } else if (rest.substr(0, 6) == "dword:") {
      std::string_view hex = rest.substr(6);
      if (hex.empty() || hex.size() > 8) Malformed(fileName, i, "a dword value needs 1 to 8 hex digits");
      std::uint32_t n = 0;
      for (char c : hex) {
        int d = (c >= '0' && c <= '9') ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (d < 0) Malformed(fileName, i, "a dword value needs 1 to 8 hex digits");
        n = n * 16 + static_cast<std::uint32_t>(d);
      }
      v.kind = Kind::Dword;
      v.dword = n;
    } else if (rest.substr(0, 3) == "hex") {
      // Binary and other typed values are kept as they are; they may continue
      // on following lines that end in a backslash.
      v.kind = Kind::Other;
      size_t j = i;
      while (TrimBlanks(lines_[j]).ends_with("\\") && j + 1 < lines_.size()) ++j;
      v.lastLine = j;
      i = j;
    } else if (rest == "-") {
      Malformed(fileName, i, "value deletion entries are not supported");
    } else {
      Malformed(fileName, i, "unknown value type");
    }
    if (v.kind != Kind::Other) v.lastLine = v.firstLine;
    sections_.back().values.push_back(std::move(v));
  }
}

bool RegDocument::HasKey(RegistryHive hive, std::string_view path) const {
  std::string want = FoldKeyName(SectionPath(hive, path));
  for (const Section& s : sections_)
    if (s.folded == want || (s.folded.size() > want.size() && s.folded.starts_with(want) &&
                             s.folded[want.size()] == '\\'))
      return true;
  return false;
}

const RegDocument::Value* RegDocument::FindValue(RegistryHive hive, std::string_view path,
                                                 std::string_view name) const {
  // A later entry overrides an earlier one, as an import of the file would.
  std::string key = FoldKeyName(SectionPath(hive, path));
  std::string folded = FoldKeyName(name);
  const Value* found = nullptr;
  for (const Section& s : sections_)
    if (s.folded == key)
      for (const Value& v : s.values)
        if (v.folded == folded) found = &v;
  return found;
}

std::optional<std::string> RegDocument::ReadString(RegistryHive hive, std::string_view path,
                                                   std::string_view name) const {
  const Value* v = FindValue(hive, path, name);
  if (!v || v->kind != Kind::String) return std::nullopt;
  return v->text;
}

std::optional<std::uint32_t> RegDocument::ReadDword(RegistryHive hive, std::string_view path,
                                                    std::string_view name) const {
  const Value* v = FindValue(hive, path, name);
  if (!v || v->kind != Kind::Dword) return std::nullopt;
  return v->dword;
}

void RegDocument::SetDword(RegistryHive hive, std::string_view path, std::string_view name,
                           std::uint32_t value) {
  std::string line = DwordLine(name, value);
  if (const Value* v = FindValue(hive, path, name)) {
    size_t first = v->firstLine, last = v->lastLine;
    lines_.erase(lines_.begin() + static_cast<long>(first) + 1,
                 lines_.begin() + static_cast<long>(last) + 1);
    lines_[first] = line;
  } else {
    std::string key = FoldKeyName(SectionPath(hive, path));
    const Section* target = nullptr;
    for (const Section& s : sections_)
      if (s.folded == key) target = &s;
    if (target) {
      size_t after = target->values.empty() ? target->headerLine : target->values.back().lastLine;
      lines_.insert(lines_.begin() + static_cast<long>(after) + 1, line);
    } else {
      if (lines_.empty()) lines_.emplace_back(kHeader5);
      if (!lines_.back().empty()) lines_.emplace_back();
      lines_.push_back("[" + SectionPath(hive, path) + "]");
      lines_.push_back(line);
      finalNewline_ = true;
    }
  }
  Reindex("(edited)");
}

std::string RegDocument::Serialize() const {
  const char* eol = crlf_ ? "\r\n" : "\n";
  std::string out = bom_ ? "\xEF\xBB\xBF" : "";
  for (size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i];
    if (i + 1 < lines_.size() || finalNewline_) out += eol;
  }
  return out;
}

}  // namespace kv
