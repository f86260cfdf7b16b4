/*
** A package a program carries, read whole and inflated.
*/
#pragma once

#include <string>
#include <string_view>

#include "platform/own_executable.h"
#include "platform/zlib_codec.h"

namespace kv::test {

inline std::string Inflated(ResourceStream& package) {
  std::string packed;
  char buf[65536];
  for (std::size_t n; (n = package.Read(buf, sizeof buf)) > 0;) packed.append(buf, n);
  std::string bytes;
  ZlibInflater inflater;
  inflater.Inflate(packed, [&](std::string_view chunk) { bytes.append(chunk); });
  return bytes;
}

}  // namespace kv::test
