/*
** Errors of the Firebird client layer.
*/
#pragma once

#include <stdexcept>
#include <string>

namespace kv::fb {

/* The engine refused a call; the message is the engine's own text. */
class Error : public std::runtime_error {
 public:
  Error(const std::string& message, long sqlcode, long code = 0)
      : std::runtime_error(message), sqlcode_(sqlcode), code_(code) {}
  long SqlCode() const { return sqlcode_; }
  /* The engine's error code, the first of the status vector (0 when none). */
  long Code() const { return code_; }

  /* The server refused the user name and password (isc_login). */
  bool LoginRefused() const { return code_ == 335544472; }
  /* The server could not be reached (isc_network_error): stopped, or no route. */
  bool ServerUnreachable() const { return code_ == 335544721; }

 private:
  long sqlcode_;
  long code_;
};

/* The client library could not be loaded or lacks an entry point. */
class ClientUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kv::fb
