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
  Error(const std::string& message, long sqlcode) : std::runtime_error(message), sqlcode_(sqlcode) {}
  long SqlCode() const { return sqlcode_; }

 private:
  long sqlcode_;
};

/* The client library could not be loaded or lacks an entry point. */
class ClientUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kv::fb
