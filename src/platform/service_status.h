/*
** Status of the operating system's services, as the start checks ask for the
** installation's maintenance service.
*/
#pragma once

#include <string_view>

namespace kv {

enum class ServiceQuery {
  Running,      // the query succeeded and the service runs
  Stopped,      // the query succeeded and the service does not run
  Unavailable,  // no service manager, no such service, access refused or a failed query
};

class ServiceStatus {
 public:
  virtual ~ServiceStatus() = default;
  /* Current state of the named service on the local computer. Every handle the
  ** query opens is closed on every path. */
  virtual ServiceQuery Query(std::string_view name) = 0;
};

/* The local computer's services. */
ServiceStatus& SystemServices();

}  // namespace kv
