/*
** The version decision table.
*/
#include "wizard/version_decision.h"

namespace kv {

VersionDecision DecideVersion(const FileVersion& c, const InstalledVersion& i) {
  const std::int32_t major = c.major, sp = c.servicePack, build = c.build;
  const std::string carried = std::to_string(major) + "." + std::to_string(sp) + "." + std::to_string(build);
  if (major < 7 || (major == 7 && i.servicePack > sp))
    return {VersionVerdict::Blocked,
            {"Обновление не возможно", "У Вас установлено более новое обновление",
             "Вы не можете вернуться к старой версии", "", "Файл содержит следующую сборку: " + carried}};
  if (i.servicePack < sp || i.build < build) return {VersionVerdict::NewBuild, {"Новая сборка: \t" + carried}};
  if (i.servicePack == sp && i.build == build)
    return {VersionVerdict::Reinstall, {"У Вас установлены последние обновления", "Вы можете установить их еще раз"}};
  if (i.servicePack == sp && i.build > build)
    return {VersionVerdict::ReturnToOlder,
            {"Все новые обновления уже установлены", "Вы можете вернуться к более старой версии"}};
  return {VersionVerdict::Other, {}};
}

}  // namespace kv
