/*
** The start sequence with native windows on Windows.
*/
#include "program_start.h"
#include "views/win32/desktop.h"
#include "win32_wizard.h"
#include "windowed.h"

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
  std::unique_ptr<fb::Client> client;  // outlives the wizard
  ProgramDesktop desktop{screen, splash, dialog, RealProcesses(),
                         WindowedWizardFactory<Win32Wizard>(commandLine, dialog, client, report),
                         [] { return static_cast<int>(kCompleted); }};
  return RunProgram(commandLine, desktop, report);
}

}  // namespace kv
