/*
** Small text helpers shared by every layer.
*/
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

/* Removes blanks and tabs at both ends. */
std::string_view TrimBlanks(std::string_view s);

/* Removes blanks and control characters (codes up to 32) at both ends. */
std::string_view TrimControls(std::string_view s);

/* Lines of a text split at LF, with a CR before it removed. */
std::vector<std::string_view> SplitLines(std::string_view text);

/* Equality with ASCII letters compared regardless of case. */
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

/* The text with "\r\n" and every lone "\r" as "\n": messages are built with
** carriage returns as line breaks, which consoles and toolkits do not all show. */
std::string NewlineBreaks(std::string_view text);

/* ASCII upper case: only a to z change. */
std::string AsciiUpper(std::string_view s);

}  // namespace kv
