/*
** The start conditions.
*/
#include "startup/start_conditions.h"

namespace kv {

std::optional<StartConditions> CheckStartConditions(std::string_view letter, StartConditionServices& s) {
  if (std::optional<ScreenSize> size = s.screen.Size();
      size && (size->width < kMinScreenWidth || size->height < kMinScreenHeight)) {
    s.dialog.ShowMessage("Параметры экрана должны быть не менее 1024*600");
    return std::nullopt;
  }
  StartConditions out;
  out.year = s.clock.Now().year;
  std::optional<InstallFolders> folders = ReadInstallRegistry(s.registry, letter, out.year);
  if (!folders) {
    s.dialog.ShowMessage("Не установлена программа Duvar0");
    return std::nullopt;
  }
  if (!s.fs.DirExists(folders->base) || !s.fs.DirExists(folders->program)) {
    s.dialog.ShowMessage("Нарушена конфигурация. Установите Duvar0");
    return std::nullopt;
  }
  out.folders = std::move(*folders);
  return out;
}

}  // namespace kv
