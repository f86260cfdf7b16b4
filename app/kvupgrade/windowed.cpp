/*
** The start sequence with Qt windows.
*/
#include "windowed.h"

#include <QApplication>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/posix/reg_file_registry.h"
#include "platform/process.h"
#include "platform/service_status.h"
#include "platform/window_list.h"
#include "qt_wizard.h"
#include "startup/environment_check.h"
#include "views/qt/qt_desktop.h"

namespace kv {

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

int RunWithWindows(const CommandLine& commandLine, int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName(kApplicationTitle);
  qt::QtScreen screen;
  qt::QtSplashOperations splash;
  qt::QtDialog dialog;
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  std::unique_ptr<WindowList> windows = OpenTopLevelWindows();
  std::unique_ptr<fb::Client> client;
  bool creationFailed = false;

  StartServices services{
      screen,
      splash,
      dialog,
      RealFileSystem(),
      RealProcesses(),
      SystemClock(),
      *registry,
      [&](RegisterLog& log) {
        EnvironmentServices e{SystemServices(), *windows, dialog, SystemClock(), log};
        return CheckEnvironment(e);
      },
      SetDatabasePaths,
      [&](Installation& installation, RegisterLog& log) -> std::unique_ptr<MainWindow> {
        try {
          client = LoadClient(dialog);
          return std::make_unique<QtWizard>(installation, log, *registry, *client, RealProcesses().OwnPath());
        } catch (...) {
          creationFailed = true;
          throw;
        }
      },
  };

  const StartResult result = RunMainSequence(commandLine, services);
  return StartExitStatus(result, creationFailed, kCompleted);
}

}  // namespace kv
