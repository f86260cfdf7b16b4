/*
** A prepared SQL statement with positional parameters and its result rows.
**
** The statement text names its parameters ":p0", ":p1", ...; they are bound by
** number, as a 32-bit integer or as a text, and may be bound again between
** executions of the same prepared statement. Move-only; the destructor frees
** the statement (its attachment must still be open).
*/
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "migration/fb/attachment.h"
#include "migration/fb/handle.h"
#include "migration/fb/transaction.h"

namespace kv::fb {

/* Statement text with ":pN" replaced by "?" and, for each "?" in order, the
** number N it stands for. Quoted literals and identifiers are left alone. */
struct PositionalSql {
  std::string text;
  std::vector<int> order;
};
PositionalSql ToPositional(const std::string& text);

class Statement {
 public:
  /* Prepares text within tr. Throws fb::Error. */
  Statement(Transaction& tr, const std::string& text);
  ~Statement();
  Statement(Statement&&) noexcept;
  Statement& operator=(Statement&&) = delete;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  void SetInt(int number, std::int32_t value);
  void SetText(int number, std::string value);

  /* Executes within tr; a query's result rows are then read with Fetch.
  ** Throws fb::Error. */
  void Execute(Transaction& tr);
  /* Moves to the next row; false after the last. */
  bool Fetch();
  /* Closes an open result set (nothing when none is open). */
  void CloseCursor() noexcept;

  bool IsQuery() const { return isQuery_; }
  int ColumnCount() const;
  bool IsNull(int column) const;
  /* Integer conversion: null reads as 0; a value outside 32 bits or a text that
  ** is not a number throws fb::Error. */
  std::int32_t AsInt32(int column) const;
  std::int64_t AsInt64(int column) const;
  /* Text of any column; a text blob is read whole. Null reads as "". */
  std::string AsText(int column) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  bool isQuery_ = false;
};

}  // namespace kv::fb
