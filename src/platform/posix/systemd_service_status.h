/*
** Service status on Linux: the systemd unit of that name, asked through
** "systemctl is-active --quiet". Without systemctl no service runs.
*/
#pragma once

#include <string>
#include <vector>

#include "platform/service_status.h"

namespace kv {

class SystemdServiceStatus final : public ServiceStatus {
 public:
  /* systemctl is the first of candidates that is an executable file. */
  explicit SystemdServiceStatus(std::vector<std::string> candidates = {"/usr/bin/systemctl", "/bin/systemctl"})
      : candidates_(std::move(candidates)) {}

  /* Running when systemctl exits with 0, Stopped for any other exit status,
  ** Unavailable when there is no systemctl or it cannot be run. */
  ServiceQuery Query(std::string_view name) override;

 private:
  std::vector<std::string> candidates_;
};

}  // namespace kv
