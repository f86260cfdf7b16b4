/*
** A shared library loaded at run time, so that a missing client library is a
** clear message instead of a program that cannot start.
*/
#pragma once

#include <memory>
#include <string>

namespace kv {

class DynamicLibrary {
 public:
  virtual ~DynamicLibrary() = default;  // unloads the library
  /* Address of an exported symbol; nullptr when the library lacks it. */
  virtual void* Symbol(const char* name) const = 0;
};

/* Loads the first library of names that loads; nullptr with error set (the
** system's reason for each name tried) when none does. */
std::unique_ptr<DynamicLibrary> LoadDynamicLibrary(const std::initializer_list<const char*>& names,
                                                   std::string& error);

}  // namespace kv
