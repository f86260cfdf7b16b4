/*
** Holding the databases open.
*/
#include "migration/database_holders.h"

#include "migration/fb/error.h"

namespace kv {

DatabaseHolders::DatabaseHolders(const fb::Client& client, std::vector<std::string> params, std::string charset,
                                 std::set<std::string> excluded)
    : client_(client), params_(std::move(params)), charset_(std::move(charset)), excluded_(std::move(excluded)) {}

void DatabaseHolders::Hold(const std::string& path) noexcept {
  if (path.empty() || excluded_.count(path) || held_.count(path) || refused_.count(path)) return;
  try {
    held_.emplace(path, fb::Attachment(client_, path, params_, charset_));
  } catch (const fb::Error&) {
    // Only a saving is lost: the contexts open the file as they always do.
    refused_.insert(path);
  }
}

void DatabaseHolders::ReleaseAll() noexcept { held_.clear(); }

}  // namespace kv
