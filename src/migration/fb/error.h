/*
** Errors of the Firebird client layer.
*/
#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kv::fb {

/* The engine refused a call; the message is the engine's own text. */
class Error : public std::runtime_error {
 public:
  /* codes: the engine's error codes of the status vector, outermost first. */
  Error(const std::string& message, long sqlcode, std::vector<long> codes = {})
      : std::runtime_error(message), sqlcode_(sqlcode), codes_(std::move(codes)) {}
  long SqlCode() const { return sqlcode_; }
  /* The engine's error code, the first of the status vector (0 when none). */
  long Code() const { return codes_.empty() ? 0 : codes_.front(); }
  const std::vector<long>& Codes() const { return codes_; }

  /* The server refused the user name and password (isc_login). */
  bool LoginRefused() const { return Code() == 335544472; }
  /* The server could not be reached (isc_network_error): stopped, or no route. */
  bool ServerUnreachable() const { return Code() == 335544721; }
  /* A lock another transaction holds was waited for up to the transaction's
  ** limit (isc_lock_timeout), also beneath a failed metadata update. */
  bool LockTimedOut() const { return std::find(codes_.begin(), codes_.end(), 335544510) != codes_.end(); }
  /* The backup service could not create or open its backup file
  ** (isc_gbak_open_bkup_error); the engine does not say why. */
  bool BackupFileRefused() const { return Code() == 336330817; }

 private:
  long sqlcode_;
  std::vector<long> codes_;
};

/* The client library could not be loaded or lacks an entry point. */
class ClientUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kv::fb
