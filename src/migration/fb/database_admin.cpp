/*
** Database creation and write mode.
*/
#include "migration/fb/database_admin.h"

#include "migration/fb/api.h"
#include "migration/fb/error.h"

namespace kv::fb {
namespace {

std::string QuoteLiteral(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

}  // namespace

void CreateDatabase(const Client& client, const NewDatabase& db) {
  const std::string sql = "CREATE DATABASE " + QuoteLiteral(db.path) + " USER " + QuoteLiteral(db.user) +
                          " PASSWORD " + QuoteLiteral(db.password) + " PAGE_SIZE " + std::to_string(db.pageSize) +
                          " DEFAULT CHARACTER SET " + db.charset;
  const Api& api = client.api();
  AttachmentHandle attachment({&api});
  ApiHandle trHandle{};
  api.Checked(api.isc_dsql_execute_immediate, attachment.Put(), &trHandle, 0, sql.c_str(), SQL_DIALECT_V6, nullptr);
  Detach(attachment);
}

void SetForcedWrites(const Client& client, const std::string& path, const std::string& user,
                     const std::string& password, bool on) {
  std::string dpb(1, static_cast<char>(isc_dpb_version1));
  for (auto [tag, value] : {std::pair{isc_dpb_user_name, user}, std::pair{isc_dpb_password, password}}) {
    dpb += static_cast<char>(tag);
    dpb += static_cast<char>(value.size());
    dpb += value;
  }
  dpb += {static_cast<char>(isc_dpb_force_write), 1, static_cast<char>(on ? 1 : 0)};
  const Api& api = client.api();
  AttachmentHandle attachment({&api});
  api.Checked(api.isc_attach_database, static_cast<short>(path.size()), path.c_str(), attachment.Put(),
              static_cast<short>(dpb.size()), dpb.data());
  Detach(attachment);
}

}  // namespace kv::fb
