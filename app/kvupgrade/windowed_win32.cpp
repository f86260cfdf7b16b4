/*
** The start sequence with native windows on Windows.
*/
#include "views/win32/desktop.h"
#include "win32_wizard.h"
#include "windowed.h"
#include "windowed_program.h"

namespace kv {

bool DisplayAvailable() { return true; }

int RunWithWindows(const CommandLine& commandLine, RunReport& report, int, char**) {
  win32::ReleaseOwnConsole();
  win32::Win32Screen screen;
  win32::Win32SplashOperations splash;
  // The start's messages stand over the splash while it is up, later over the wizard.
  win32::Win32Dialog dialog([&splash] {
    HWND shown = splash.Window();
    return shown ? shown : win32::ProgramWindow();
  });
  return RunWindowedProgram<Win32Wizard>(commandLine, report, screen, splash, dialog);
}

}  // namespace kv
