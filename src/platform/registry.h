/*
** The Windows registry as the program uses it: string and DWORD values under
** keys of the machine-wide and the per-user hive.
**
** Keys are handles: an open key is released when its object is destroyed.
** Key paths are given like "SOFTWARE\\Velmor\\Kven700\\" (trailing backslash
** optional); key and value names match regardless of ASCII letter case.
*/
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

enum class RegistryHive { LocalMachine, CurrentUser };

/* The registry store could not be read or written: unreadable, malformed (the
** message names the file and line), or the change was refused. */
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  /* The value as text; nullopt when it is missing or not a string. */
  virtual std::optional<std::string> ReadString(std::string_view name) const = 0;
  /* The value as a 32-bit integer; nullopt when missing or not a DWORD. */
  virtual std::optional<std::uint32_t> ReadDword(std::string_view name) const = 0;
  /* Writes a DWORD value. Only keys opened for writing accept it; throws RegistryError. */
  virtual void WriteDword(std::string_view name, std::uint32_t value) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  /* Opens an existing key read-only; nullptr when the key does not exist. */
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryHive hive, std::string_view path) = 0;
  /* Opens a key for reading and writing, creating it when missing. */
  virtual std::unique_ptr<RegistryKey> CreateKey(RegistryHive hive, std::string_view path) = 0;
};

/* The registry the program runs against: the system's on Windows; on POSIX
** the export file named by the environment variable KV_REGISTRY (without it,
** an empty registry in which no key exists). */
std::unique_ptr<Registry> OpenEnvironmentRegistry();

}  // namespace kv
