/*
** Capturing committed changes and writing them as an isql-fb script.
*/
#include "support/change_capture.h"

#include <cctype>

#include "migration/fb/statement.h"

namespace kv::bench {
namespace {

std::string Literal(const fb::ParamValue& value) {
  if (auto* n = std::get_if<std::int32_t>(&value)) return std::to_string(*n);
  if (auto* t = std::get_if<std::string>(&value)) {
    std::string out(1, '\'');
    for (char c : *t) {
      out += c;
      if (c == '\'') out += '\'';
    }
    out += '\'';
    return out;
  }
  return "NULL";
}

/* INSERT, UPDATE, DELETE and MERGE change rows; everything else the packs run
** changes metadata. */
bool IsDataStatement(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  std::string word;
  while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
    word += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i++])));
  return word == "INSERT" || word == "UPDATE" || word == "DELETE" || word == "MERGE";
}

}  // namespace

std::string InlineParameters(const std::string& text, std::span<const fb::ParamValue> params) {
  // The client layer's own reading of the text says where each parameter is.
  const fb::PositionalSql sql = fb::ToPositional(text);
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < sql.text.size(); ++i) {
    const char c = sql.text[i];
    if (c == '\'' || c == '"') {
      size_t end = i + 1;
      while (end < sql.text.size() && !(sql.text[end] == c && (end + 1 >= sql.text.size() || sql.text[end + 1] != c)))
        end += sql.text[end] == c ? 2 : 1;
      out.append(sql.text, i, end - i + 1);
      i = end;
    } else if (c == '?' && next < sql.order.size()) {
      const auto n = static_cast<size_t>(sql.order[next++]);
      out += n < params.size() ? Literal(params[n]) : "NULL";
    } else {
      out += c;
    }
  }
  return out;
}

void ChangeCapture::Executed(const std::string& database, fb::ApiHandle transaction, const std::string& text,
                             std::span<const fb::ParamValue> params, bool query) noexcept {
  if (query) return;
  pending_[{database, transaction}].push_back(InlineParameters(text, params));
}

void ChangeCapture::Committed(const std::string& database, fb::ApiHandle transaction) noexcept {
  auto it = pending_.find({database, transaction});
  if (it == pending_.end()) return;
  std::vector<std::string>& out = committed_[database];
  out.insert(out.end(), it->second.begin(), it->second.end());
  ends_[database].push_back(out.size());
  pending_.erase(it);
}

void ChangeCapture::RolledBack(const std::string& database, fb::ApiHandle transaction) noexcept {
  pending_.erase({database, transaction});
}

const std::vector<std::string>& ChangeCapture::Changes(const std::string& database) const {
  static const std::vector<std::string> kNone;
  auto it = committed_.find(database);
  return it == committed_.end() ? kNone : it->second;
}

const std::vector<std::size_t>& ChangeCapture::CommitEnds(const std::string& database) const {
  static const std::vector<std::size_t> kNone;
  auto it = ends_.find(database);
  return it == ends_.end() ? kNone : it->second;
}

AdminScript WriteAdminScript(std::span<const std::string> statements) {
  // "^" ends statements, since trigger bodies hold ";". Each statement keeps
  // its text exactly (trigger sources are stored as written).
  AdminScript script;
  script.text = "SET AUTODDL OFF;\nSET TERM ^ ;\n";
  bool metadataPending = false;
  for (const std::string& sql : statements) {
    const bool data = IsDataStatement(sql);
    if (data && metadataPending) {
      script.text += "COMMIT^\n";
      ++script.commits;
    }
    metadataPending = !data;
    script.text += sql + "^\n";
    ++script.statements;
  }
  script.text += "COMMIT^\nSET TERM ; ^\n";
  ++script.commits;
  return script;
}

AdminScript WriteSameCommitsScript(std::span<const std::string> statements, std::span<const std::size_t> ends) {
  AdminScript script;
  script.text = "SET AUTODDL OFF;\nSET TERM ^ ;\n";
  std::size_t next = 0;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    script.text += statements[i] + "^\n";
    ++script.statements;
    while (next < ends.size() && ends[next] == i + 1) {
      script.text += "COMMIT^\n";
      ++script.commits;
      ++next;
    }
  }
  script.text += "SET TERM ; ^\n";
  return script;
}

}  // namespace kv::bench
