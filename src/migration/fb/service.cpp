/*
** Service manager attachment and the server version query.
*/
#include "migration/fb/service.h"

#include "migration/fb/api.h"
#include "migration/fb/error.h"

namespace kv::fb {

ServiceManager::ServiceManager(const Client& client, const std::vector<std::string>& params) : client_(client) {
  std::string spb{static_cast<char>(isc_spb_version), static_cast<char>(isc_spb_current_version)};
  for (const std::string& line : params) {
    auto eq = line.find('=');
    std::string name = line.substr(0, eq);
    std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
    char tag = name == "user_name" ? isc_spb_user_name : name == "password" ? isc_spb_password : 0;
    if (!tag) throw Error("unknown service parameter \"" + name + "\"", 0);
    if (value.size() > 255) throw Error("service parameter too long", 0);
    spb += tag;
    spb += static_cast<char>(value.size());
    spb += value;
  }
  static const char kService[] = "service_mgr";
  ISC_STATUS_ARRAY status{};
  client.api().isc_service_attach(status, 0, kService, &handle_, static_cast<unsigned short>(spb.size()),
                                  spb.data());
  Check(client.api(), status);
}

ServiceManager::~ServiceManager() {
  if (handle_) {
    ISC_STATUS_ARRAY status{};
    client_.api().isc_service_detach(status, &handle_);
  }
}

std::string ServiceManager::ServerVersion() {
  const char request[] = {isc_info_svc_server_version};
  char result[1024] = {};
  ISC_STATUS_ARRAY status{};
  const Api& api = client_.api();
  api.isc_service_query(status, &handle_, nullptr, 0, nullptr, sizeof request, request, sizeof result, result);
  Check(api, status);
  if (result[0] != isc_info_svc_server_version) throw Error("the server did not report its version", 0);
  auto length = static_cast<size_t>(api.isc_vax_integer(result + 1, 2));
  if (length > sizeof result - 3) throw Error("malformed server version reply", 0);
  return std::string(result + 3, length);
}

}  // namespace kv::fb
