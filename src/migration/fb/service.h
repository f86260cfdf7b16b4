/*
** The server's service manager, for its version text. Attached by the
** constructor, detached by the destructor.
*/
#pragma once

#include <string>
#include <vector>

#include "migration/fb/client.h"
#include "migration/fb/handle.h"

namespace kv::fb {

class ServiceManager {
 public:
  /* Attaches to the local server's service manager with "name=value" lines
  ** (user_name, password). Throws fb::Error. */
  ServiceManager(const Client& client, const std::vector<std::string>& params);
  ~ServiceManager();
  ServiceManager(const ServiceManager&) = delete;
  ServiceManager& operator=(const ServiceManager&) = delete;

  /* The server's version text, e.g. "LI-V3.0.11.33637 Firebird 3.0". */
  std::string ServerVersion();

 private:
  const Client& client_;
  ApiHandle handle_{};
};

}  // namespace kv::fb
