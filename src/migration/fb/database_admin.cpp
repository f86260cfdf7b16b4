/*
** Database creation and write mode.
*/
#include "migration/fb/database_admin.h"

#include <cstdint>

#include "migration/fb/api.h"
#include "migration/fb/attachment.h"
#include "migration/fb/error.h"

namespace kv::fb {
namespace {

void AddNumber(std::string& dpb, char tag, std::uint32_t value) {
  dpb += {tag, 4};
  for (int i = 0; i < 4; ++i) dpb += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

void CreateDatabase(const Client& client, const NewDatabase& db) {
  // By parameter block rather than a CREATE DATABASE statement, whose file
  // name no tag can mark as UTF-8.
  std::string dpb = BuildDpb({"user_name=" + db.user, "password=" + db.password}, "");
  AddNumber(dpb, isc_dpb_page_size, static_cast<std::uint32_t>(db.pageSize));
  AddNumber(dpb, isc_dpb_sql_dialect, SQL_DIALECT_V6);
  if (db.charset.size() > 255) throw Error("character set name too long", 0);
  dpb += {static_cast<char>(isc_dpb_set_db_charset), static_cast<char>(db.charset.size())};
  dpb += db.charset;
  const Api& api = client.api();
  AttachmentHandle attachment({&api});
  api.Checked(api.isc_create_database, static_cast<short>(db.path.size()), db.path.c_str(),
              attachment.Put(), static_cast<short>(dpb.size()), dpb.data(), short{0});
  Detach(attachment);
}

void SetForcedWrites(const Client& client, const std::string& path, const std::string& user,
                     const std::string& password, bool on) {
  std::string dpb = BuildDpb({"user_name=" + user, "password=" + password}, "");
  dpb += {static_cast<char>(isc_dpb_force_write), 1, static_cast<char>(on ? 1 : 0)};
  const Api& api = client.api();
  AttachmentHandle attachment({&api});
  api.Checked(api.isc_attach_database, static_cast<short>(path.size()), path.c_str(), attachment.Put(),
              static_cast<short>(dpb.size()), dpb.data());
  Detach(attachment);
}

}  // namespace kv::fb
