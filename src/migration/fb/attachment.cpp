/*
** Attachments and their parameter blocks.
*/
#include "migration/fb/attachment.h"

#include <utility>

#include "migration/fb/api.h"
#include "migration/fb/error.h"

namespace kv::fb {
namespace {

void AddText(std::string& block, char tag, const std::string& value) {
  if (value.size() > 255) throw Error("connection parameter too long", 0);
  block.push_back(tag);
  block.push_back(static_cast<char>(value.size()));
  block += value;
}

}  // namespace

std::string BuildDpb(const std::vector<std::string>& params, const std::string& charset) {
  std::string dpb(1, static_cast<char>(isc_dpb_version1));
  for (const std::string& line : params) {
    auto eq = line.find('=');
    std::string name = line.substr(0, eq);
    std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
    if (name == "user_name")
      AddText(dpb, isc_dpb_user_name, value);
    else if (name == "password")
      AddText(dpb, isc_dpb_password, value);
    else
      throw Error("unknown connection parameter \"" + name + "\"", 0);
  }
  if (!charset.empty()) AddText(dpb, isc_dpb_lc_ctype, charset);
  // Every text of the program is UTF-8, file names too; without this tag the
  // Windows client reads the name in the ANSI code page and finds no database
  // under a Cyrillic folder.
  dpb += {static_cast<char>(isc_dpb_utf8_filename), 0};
  return dpb;
}

Attachment::Attachment(const Client& client, const std::string& path, const std::vector<std::string>& params,
                       const std::string& charset)
    : client_(&client), path_(path), handle_({&client.api()}) {
  const std::string dpb = BuildDpb(params, charset);
  const Api& api = client.api();
  api.Checked(api.isc_attach_database, static_cast<short>(path.size()), path.c_str(), handle_.Put(),
              static_cast<short>(dpb.size()), dpb.data());
}

bool Attachment::Ping() {
  if (!handle_) return false;
  const char items[] = {isc_info_attachment_id, isc_info_end};
  char result[32];
  const Api& api = client_->api();
  return api.Unchecked(api.isc_database_info, handle_.Addr(), sizeof items, items, sizeof result, result);
}

void Attachment::Detach() {
  if (handle_) fb::Detach(handle_);
}

}  // namespace kv::fb
