/*
** The Firebird client library, loaded at run time.
*/
#pragma once

#include <memory>

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

 private:
  Client(std::unique_ptr<DynamicLibrary> library, std::unique_ptr<Api> api);
  std::unique_ptr<DynamicLibrary> library_;
  std::unique_ptr<Api> api_;
};

}  // namespace kv::fb
