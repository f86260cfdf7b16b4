/*
** Reading one value of an ini file by the Windows profile rules: section and
** key names match regardless of ASCII letter case, the first matching section
** and key win, and the value is the text after "=" without surrounding blanks
** (a value enclosed in matching quotes loses them, as Windows does).
*/
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

/* The value of key in section of the ini text; nullopt when either is missing. */
std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

}  // namespace kv
