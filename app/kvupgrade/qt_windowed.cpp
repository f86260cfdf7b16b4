/*
** The start sequence with Qt windows: the entry point of the windows library
** (kvupgrade-windows.so), which the program loads only when it shows windows.
*/
#include <QApplication>
#include <exception>
#include <iostream>

#include "qt_wizard.h"
#include "views/qt/qt_desktop.h"
#include "windowed_program.h"

/* Runs the start sequence with windows and returns an ExitStatus; what the run
** did goes to report. Nothing leaves it by exception (an error is printed and
** ends with kUnexpectedError). */
extern "C" __attribute__((visibility("default"))) int kv_run_qt_windows(const kv::CommandLine& commandLine,
                                                                         kv::RunReport& report, int argc,
                                                                         char** argv) noexcept {
  using namespace kv;
  try {
    QApplication app(argc, argv);
    app.setApplicationName(kApplicationTitle);
    qt::QtScreen screen;
    qt::QtSplashOperations splash;
    qt::QtDialog dialog;
    return RunWindowedProgram<QtWizard>(commandLine, report, screen, splash, dialog);
  } catch (const std::exception& e) {
    std::cerr << "kvupgrade: " << e.what() << "\n";
    return kUnexpectedError;
  }
}
