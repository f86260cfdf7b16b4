/*
** The installation's registry record and the folders derived from it, and the
** integer settings kept in the current user's part of the registry.
*/
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace kv {

inline constexpr std::string_view kInstallKey = "SOFTWARE\\Velmor\\Квенира\\7.00\\";
inline constexpr std::string_view kUserKey = "SOFTWARE\\Velmor\\Kven700\\";

/* Folders of the installation; every folder text ends in the path separator. */
struct InstallFolders {
  std::string program;      // DirProgram
  std::string base;         // DirBase
  std::string data;         // base + "Kven700"
  std::string version;      // base + "Версия" + "700"
  std::string info;         // version + "Info"
  std::string registerLog;  // info + "Register <year>.log"
};

/* Derives every folder from the program and base folder texts as the registry
** holds them (a trailing separator is added when missing). */
InstallFolders DeriveFolders(std::string_view dirProgram, std::string_view dirBase, int year);

/* Reads the machine-wide installation key. Returns the folders when the key
** exists, DirProgram, DirBase and typeInstall are present (empty counts as
** missing) and the installation type is accepted for letter; nullopt otherwise.
** Throws RegistryError when the registry itself cannot be read. */
std::optional<InstallFolders> ReadInstallRegistry(Registry& registry, std::string_view letter,
                                                  int year);

/* True when typeInstall is accepted for the calling program's letter. */
bool AcceptsInstallType(std::string_view typeInstall, std::string_view letter);

/* Integer value under the per-user key + subKey; 0 on any error or absence. */
std::int32_t ReadUserSetting(Registry& registry, std::string_view subKey, std::string_view name);

/* Writes an integer under the per-user key + subKey, creating the key.
** Throws RegistryError. */
void WriteUserSetting(Registry& registry, std::string_view subKey, std::string_view name,
                      std::int32_t value);

}  // namespace kv
