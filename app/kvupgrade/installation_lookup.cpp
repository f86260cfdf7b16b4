/*
** Finding the selected installation.
*/
#include "installation_lookup.h"

#include "platform/clock.h"
#include "platform/process.h"
#include "startup/database_paths.h"
#include "startup/install_registry.h"
#include "startup/register_log.h"

namespace kv {

std::optional<Installation> LookUpInstallation(const CommandLine& cl, Registry& registry, FileSystem& fs,
                                               OperatorDialog& dialog, std::ostream& err) {
  Clock& clock = SystemClock();
  const std::optional<InstallFolders> folders = ReadInstallRegistry(registry, "d", clock.Now().year);
  if (!folders) {
    err << "Не установлена программа Duvar0\n";
    return std::nullopt;
  }
  RegisterLog log({kApplicationTitle, RealProcesses().OwnPath(), folders->info, folders->registerLog}, fs, clock,
                  dialog);
  std::optional<DatabaseLocations> loc = SetDatabasePaths(*folders, cl.installation, log);
  if (!loc) {
    err << "Расположение баз данных не определено\n";
    return std::nullopt;
  }
  Installation installation;
  installation.folders = *folders;
  installation.params = cl.installation;
  installation.databases = std::move(loc->paths);
  installation.connection = std::move(loc->connection);
  installation.databases.serverOrders =
      FindOrdersAlias(fs, installation.connection.iniPath, installation.connection.ordersAlias);
  return installation;
}

}  // namespace kv
