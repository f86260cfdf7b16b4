/*
** What each exit status of the program means, in the operator's words: one
** table for --help, the result file and the administrator's guide (the README
** is checked against it by a test).
*/
#pragma once

#include <span>
#include <string_view>

namespace kv {

/* A wrong command line, or no display for the windows. */
inline constexpr int kWrongUsage = 64;

struct ExitStatusMeaning {
  int status;
  std::string_view meaning;  // one line, Russian
};

/* Every status the program ends with, in ascending order. */
std::span<const ExitStatusMeaning> ExitStatusMeanings();

/* The meaning of status; "" for a status the program never ends with. */
std::string_view MeaningOfExitStatus(int status);

}  // namespace kv
