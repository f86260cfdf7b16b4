/*
** Reading the installation record and the per-user settings.
*/
#include "startup/install_registry.h"

#include "platform/paths.h"

namespace kv {

InstallFolders DeriveFolders(std::string_view dirProgram, std::string_view dirBase, int year) {
  InstallFolders f;
  f.program = WithTrailingSep(dirProgram);
  f.base = WithTrailingSep(dirBase);
  f.data = f.base + "Kven" + "700" + kPathSep;
  f.version = f.base + "Версия" + kPathSep + "700" + kPathSep;
  f.info = f.version + "Info" + kPathSep;
  std::string y = std::to_string(year);
  f.registerLog = f.info + "Register " + std::string(y.size() < 4 ? 4 - y.size() : 0, '0') + y + ".log";
  return f;
}

bool AcceptsInstallType(std::string_view typeInstall, std::string_view letter) {
  if (typeInstall == "dfhs") return true;
  if (typeInstall.size() != 1) return false;
  if (letter.empty() || letter == "h") return true;
  return typeInstall == letter;
}

std::optional<InstallFolders> ReadInstallRegistry(Registry& registry, std::string_view letter,
                                                  int year) {
  auto key = registry.OpenKey(RegistryHive::LocalMachine, kInstallKey);
  if (!key) return std::nullopt;
  auto program = key->ReadString("DirProgram");
  auto base = key->ReadString("DirBase");
  auto type = key->ReadString("typeInstall");
  // An empty folder would turn every derived path relative: treat it as missing.
  if (!program || !base || !type || program->empty() || base->empty()) return std::nullopt;
  if (!AcceptsInstallType(*type, letter)) return std::nullopt;
  return DeriveFolders(*program, *base, year);
}

std::int32_t ReadUserSetting(Registry& registry, std::string_view subKey, std::string_view name) {
  try {
    auto key = registry.OpenKey(RegistryHive::CurrentUser, std::string(kUserKey) + std::string(subKey));
    if (!key) return 0;
    return static_cast<std::int32_t>(key->ReadDword(name).value_or(0));
  } catch (const RegistryError&) {
    return 0;
  }
}

void WriteUserSetting(Registry& registry, std::string_view subKey, std::string_view name,
                      std::int32_t value) {
  auto key = registry.CreateKey(RegistryHive::CurrentUser, std::string(kUserKey) + std::string(subKey));
  key->WriteDword(name, static_cast<std::uint32_t>(value));
}

}  // namespace kv
