/*
** Service status through the service control manager.
*/
#include "platform/service_status.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

struct ServiceTraits {
  using Handle = SC_HANDLE;
  static Handle None() { return nullptr; }
  BOOL Close(Handle h) const { return ::CloseServiceHandle(h); }
};
using UniqueService = UniqueHandle<ServiceTraits>;

class WindowsServices final : public ServiceStatus {
 public:
  ServiceQuery Query(std::string_view name) override {
    UniqueService manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return ServiceQuery::Unavailable;
    UniqueService service(::OpenServiceW(manager.Get(), win32::Wide(name).c_str(), SERVICE_QUERY_STATUS));
    if (!service) return ServiceQuery::Unavailable;
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(service.Get(), &status)) return ServiceQuery::Unavailable;
    return status.dwCurrentState == SERVICE_RUNNING ? ServiceQuery::Running : ServiceQuery::Stopped;
  }
};

}  // namespace

ServiceStatus& SystemServices() {
  static WindowsServices services;
  return services;
}

}  // namespace kv
