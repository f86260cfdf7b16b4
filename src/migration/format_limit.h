/*
** The engine keeps at most 255 record formats per table, and every change of
** a table's columns adds one. A run that would pass the limit fails in the
** middle of a pack; this check finds such a table before the first pack.
*/
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "migration/context.h"

namespace kv {

inline constexpr std::int32_t kMaxTableFormats = 255;

struct FormatExcess {
  std::string database, table;
  std::int32_t formats = 0;  // the table's formats now
  std::int32_t added = 0;    // at most what the remaining packs add
};

/* For every database of the installation that opens, the tables the packs
** still due for it (those requiring its level or a later one) change, with
** their current format count plus the formats those changes can add (a column
** added counts two: the column and its position). The table that would end
** with the most formats, or nullopt when the packs change no table. */
std::optional<FormatExcess> LargestFormatForecast(MigrationServices& services);

/* The largest forecast when it passes the limit, or nullopt. */
std::optional<FormatExcess> FindFormatExcess(MigrationServices& services);

/* The operator's message for excess. */
std::string FormatExcessMessage(const FormatExcess& excess);

}  // namespace kv
