/*
** The Firebird client library, loaded at run time, with the totals of every
** call made into it and an optional listener for the statements run through it.
*/
#pragma once

#include <memory>

#include "migration/fb/client_stats.h"
#include "migration/fb/execution_observer.h"
#include "platform/dynamic_library.h"

namespace kv::fb {

struct Api;

class Client {
 public:
  /* Loads the client library (libfbclient.so.2, fbclient.dll on Windows).
  ** Throws ClientUnavailable with the system's reason when it cannot. */
  static std::unique_ptr<Client> Load();

  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  const Api& api() const { return *api_; }

  /* Calls and time spent in the library since it was loaded. */
  const ClientStats& stats() const { return *stats_; }

  /* Tells observer of the statements run from now on; null stops it. The
  ** observer must outlive its registration. */
  void SetObserver(ExecutionObserver* observer) { observer_ = observer; }
  ExecutionObserver* observer() const { return observer_; }

 private:
  Client(std::unique_ptr<DynamicLibrary> library, std::unique_ptr<ClientStats> stats, std::unique_ptr<Api> api);
  std::unique_ptr<DynamicLibrary> library_;
  std::unique_ptr<ClientStats> stats_;  // the entry points of api_ add to it
  std::unique_ptr<Api> api_;
  ExecutionObserver* observer_ = nullptr;
};

}  // namespace kv::fb
