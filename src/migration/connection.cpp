/*
** A context's connection and its prepared system-table statements.
*/
#include "migration/connection.h"

namespace kv {

Connection::Connection(const fb::Client& client, const std::string& path, const std::vector<std::string>& params,
                       const std::string& charset)
    : attachment_(client, path, params, charset) {}

fb::Statement& Connection::SystemQuery(fb::Transaction& tr, const std::string& text) {
  auto it = prepared_.find(text);
  if (it == prepared_.end()) it = prepared_.emplace(text, fb::Statement(tr, text)).first;
  return it->second;
}

}  // namespace kv
