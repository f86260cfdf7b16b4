/*
** The start sequence with Qt windows.
*/
#include "windowed.h"

#include <QApplication>
#include <cstdlib>

#include "program_start.h"
#include "qt_wizard.h"
#include "views/qt/qt_desktop.h"

namespace kv {

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

int RunWithWindows(const CommandLine& commandLine, RunReport& report, int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName(kApplicationTitle);
  qt::QtScreen screen;
  qt::QtSplashOperations splash;
  qt::QtDialog dialog;
  std::unique_ptr<fb::Client> client;  // outlives the wizard
  ProgramDesktop desktop{screen, splash, dialog, RealProcesses(),
                         WindowedWizardFactory<QtWizard>(commandLine, dialog, client, report),
                         [] { return static_cast<int>(kCompleted); }};
  return RunProgram(commandLine, desktop, report);
}

}  // namespace kv
