/*
** One way to write a moment as text, for the logs, the backup folders and the
** result file, each in its own pattern.
*/
#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"

namespace kv {

/* t in pattern, where "yyyy" is the year in four digits and "MM", "dd", "HH",
** "mm", "ss" the month, day, hour, minute and second in two, zero-padded;
** every other character stands as it is: FormatLocal(t, "dd.MM.yyyy HH:mm:ss"). */
std::string FormatLocal(const LocalDateTime& t, std::string_view pattern);

}  // namespace kv
