/*
** kvupgrade: the upgrade wizard's program.
**
** Without options it shows the wizard's windows. --unattended runs the whole
** wizard on the console: start checks, start page, agreement, install run.
** Exit statuses: ExitStatus in wizard_assembly.h, their meanings in
** exit_statuses.h; 64 for a wrong command line or no display.
** --help and --version print the options with the exit statuses, and the
** version (usage.h), and change nothing.
** --result-file PATH writes the run's outcome as JSON when it ends, however it
** ends (result_file.h).
** --plan prints what a run would do and changes nothing (plan.h).
** --restore FOLDER puts a backup made before a run back (restore_command.h).
** --no-backup, --keep-backups N and --restore-on-failure shape the backup the
** install run makes before its first pack and the restore after a failure.
** --show-installation prints what the program derives from the registry for
** the selected installation (folders, database paths, connection lines) and
** writes the start of a block to the register log, changing nothing else.
*/
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/file_system.h"
#include "platform/console.h"
#include "platform/registry.h"
#include "platform/process.h"
#include "platform/program_arguments.h"
#include "platform/utf8_path.h"
#include "startup/command_line.h"
#include "startup/database_paths.h"
#include "startup/install_registry.h"
#include "startup/register_log.h"
#include "console_window.h"
#include "exit_statuses.h"
#include "plan.h"
#include "restore_command.h"
#include "result_file.h"
#include "test_switches.h"
#include "unattended.h"
#include "usage.h"
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
  // The server's Orders is not known yet: it is the line below.
  for (const std::string& path : kv::KnownPaths(loc->paths, kv::kInstallationDatabases))
    std::cout << "  " << path << "\n";
  std::cout << "Сервер Orders: "
            << kv::FindOrdersAlias(fs, loc->connection.iniPath, loc->connection.ordersAlias) << "\n";
  return 0;
}

/* path made absolute against the folder the program was started in: the
** copy in the version folder gets it so. */
std::string Absolute(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(kv::Utf8Path(path), ec);
  return ec ? path : kv::Utf8String(absolute.lexically_normal());
}

/* Does what the options ask for and returns the exit status; argc and argv
** are main's, for the toolkit's own options. */
int Run(const kv::CommandLine& cl, kv::RunReport& report, int argc, char** argv) {
  try {
    if (cl.showInstallation) return ShowInstallation(cl);
    if (cl.plan) return kv::RunPlanCommand(cl, std::cout, std::cerr);
    if (!cl.restoreFolder.empty()) return kv::RunRestoreCommand(cl, std::cout, std::cerr);
    if (cl.unattended) return kv::console::RunUnattended(cl, kv::ProgramTestSwitches(), report, std::cout, std::cerr);
    if (!kv::DisplayAvailable()) {
      std::cerr << "kvupgrade: нет экрана, на котором показать окна мастера (DISPLAY и WAYLAND_DISPLAY не заданы);\n"
                   "запустите его на рабочем столе или без окон: kvupgrade --unattended\n";
      return kv::kWrongUsage;
    }
    return kv::RunWithWindows(cl, report, argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "kvupgrade: " << e.what() << "\n";
    return kv::kUnexpectedError;
  }
}

}  // namespace

int main(int argc, char** argv) {
  kv::PrepareConsoleForUtf8();
  kv::FileSystem& fs = kv::RealFileSystem();
  const std::vector<std::string> args = kv::ProgramArguments(argc, argv);
  std::string error;
  std::optional<kv::CommandLine> cl = kv::ParseCommandLine(args, error);
  if (!cl) {
    std::cerr << "kvupgrade: " << error << "\nСправка о параметрах: kvupgrade --help\n";
    // A script that asked for a result file gets one even for a wrong command line.
    if (const std::string path = kv::ResultFileArgument(args); !path.empty())
      kv::ResultFile(fs, kv::SystemClock(), Absolute(path)).Write(kv::kWrongUsage, {}, kv::RunReport(), std::cerr);
    return kv::kWrongUsage;
  }
  if (cl->help) {
    std::cout << kv::UsageText();
    return 0;
  }
  if (cl->version) {
    std::cout << kv::ProgramVersion() << "\n";
    return 0;
  }
  if (!cl->resultFile.empty()) {
    cl->resultFile = Absolute(cl->resultFile);
    // Found out now, not after the whole run that it could not report.
    const std::string folder = kv::Utf8String(kv::Utf8Path(cl->resultFile).parent_path());
    if (!fs.DirExists(folder)) {
      std::cerr << "kvupgrade: нет папки для файла итога " << cl->resultFile << "\n";
      return kv::kWrongUsage;
    }
  }
  kv::ResultFile result(fs, kv::SystemClock(), cl->resultFile);
  kv::RunReport report;
  if (!cl->restoreFolder.empty()) report.SetBackupFolder(cl->restoreFolder);
  const int status = Run(*cl, report, argc, argv);
  result.Write(status, cl->installation, report, std::cerr);
  return status;
}
