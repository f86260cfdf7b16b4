/*
** What --help and --version print.
*/
#pragma once

#include <string>
#include <string_view>

namespace kv {

/* The program's version, the project's: "7.0.12.0". */
std::string_view ProgramVersion();

/* The --help text: what the program is, every option on a line of its own,
** and every exit status with its meaning. */
std::string UsageText();

}  // namespace kv
