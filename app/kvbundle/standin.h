/*
** Deterministic stand-ins for the program files, for builds that are not
** given the real ones: every build then carries packages of the real sizes.
*/
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

/* size bytes that depend only on name: a mix of incompressible runs, text and
** zero fill, so that they pack about as well as a program does. */
std::string MakeStandIn(std::uint64_t size, std::string_view name);

}  // namespace kv
