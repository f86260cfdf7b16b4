/*
** kvupgrade: the upgrade wizard's program.
**
** Without options it shows the wizard's windows. --unattended runs the whole
** wizard on the console: start checks, start page, agreement, install run.
** Exit statuses: ExitStatus in wizard_assembly.h; 64 for a wrong command line
** or no display.
** --plan prints what a run would do and changes nothing (plan.h).
** --restore FOLDER puts a backup made before a run back (restore_command.h).
** --no-backup, --keep-backups N and --restore-on-failure shape the backup the
** install run makes before its first pack and the restore after a failure.
** --show-installation prints what the program derives from the registry for
** the selected installation (folders, database paths, connection lines) and
** writes the start of a block to the register log, changing nothing else.
*/
#include <cstdio>
#include <iostream>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/file_system.h"
#include "platform/console.h"
#include "platform/registry.h"
#include "platform/process.h"
#include "platform/program_arguments.h"
#include "startup/command_line.h"
#include "startup/database_paths.h"
#include "startup/install_registry.h"
#include "startup/register_log.h"
#include "console_window.h"
#include "plan.h"
#include "restore_command.h"
#include "unattended.h"
#include "windowed.h"

namespace {

int ShowInstallation(const kv::CommandLine& cl) {
  auto registry = kv::OpenEnvironmentRegistry();
  kv::Clock& clock = kv::SystemClock();
  auto folders = kv::ReadInstallRegistry(*registry, "d", clock.Now().year);
  if (!folders) {
    std::cerr << "Не установлена программа Duvar0\n";
    return 2;
  }
  kv::console::ConsoleDialog dialog(std::cerr);
  kv::FileSystem& fs = kv::RealFileSystem();
  fs.CreateDirs(folders->info);
  kv::RegisterLog log({kv::kApplicationTitle, kv::RealProcesses().OwnPath(), folders->info, folders->registerLog},
                      fs, clock, dialog);
  log.ReportCode(0);
  auto loc = kv::SetDatabasePaths(*folders, cl.installation, log);
  if (!loc) return 2;

  std::cout << "Программа:  " << folders->program << "\n"
            << "База:       " << folders->data << "\n"
            << "Версия:     " << folders->version << "\n"
            << "Журнал:     " << folders->registerLog << "\n"
            << "Ini:        " << loc->connection.iniPath << "\n"
            << "Соединение: " << loc->connection.userLine << ", " << loc->connection.passwordLine << "\n";
  const kv::DatabasePaths& p = loc->paths;
  for (const std::string* path : {&p.base, &p.config, &p.optima, &p.system, &p.orders, &p.director, &p.price,
                                  &p.stockMan, &p.ordersTmp1, &p.ordersTmp2, &p.ordersTmp3})
    std::cout << "  " << *path << "\n";
  std::cout << "Сервер Orders: "
            << kv::FindOrdersAlias(fs, loc->connection.iniPath, loc->connection.ordersAlias) << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  kv::PrepareConsoleForUtf8();
  std::string error;
  auto cl = kv::ParseCommandLine(kv::ProgramArguments(argc, argv), error);
  if (!cl) {
    std::cerr << "kvupgrade: " << error << "\n";
    return 64;
  }
  try {
    if (cl->showInstallation) return ShowInstallation(*cl);
    if (cl->plan) return kv::RunPlanCommand(*cl, std::cout, std::cerr);
    if (!cl->restoreFolder.empty()) return kv::RunRestoreCommand(*cl, std::cout, std::cerr);
    if (cl->unattended) return kv::console::RunUnattended(*cl, std::cout, std::cerr);
    if (!kv::DisplayAvailable()) {
      std::cerr << "kvupgrade: no display to show the wizard on (DISPLAY and WAYLAND_DISPLAY are unset);\n"
                   "run it on a desktop, or without windows with --unattended\n";
      return 64;
    }
    return kv::RunWithWindows(*cl, argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "kvupgrade: " << e.what() << "\n";
    return kv::kUnexpectedError;
  }
}
