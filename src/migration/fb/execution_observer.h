/*
** A listener for the statements that the client layer runs: told of every
** statement that executed without error, with its parameter values, and of how
** each transaction ended. Tools use it to see what the program did to a
** database (for instance to write the same changes as a script); the program
** itself runs without one.
*/
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "migration/fb/handle.h"

namespace kv::fb {

/* A parameter value by its number: unset, a 32-bit integer or a text. */
using ParamValue = std::variant<std::monostate, std::int32_t, std::string>;

/* A transaction is named by the path of its database and its handle, which
** the engine does not give to another transaction while it is active. None of
** the calls may throw. */
class ExecutionObserver {
 public:
  virtual ~ExecutionObserver() = default;
  /* text as prepared (parameters written ":p0", ":p1", ...); params[n] is the
  ** value of ":pn"; query: the statement returns rows. */
  virtual void Executed(const std::string& database, ApiHandle transaction, const std::string& text,
                        std::span<const ParamValue> params, bool query) noexcept = 0;
  /* The transaction committed: its statements are now part of the database. */
  virtual void Committed(const std::string& database, ApiHandle transaction) noexcept = 0;
  /* The transaction rolled back: its statements left nothing. */
  virtual void RolledBack(const std::string& database, ApiHandle transaction) noexcept = 0;
};

}  // namespace kv::fb
