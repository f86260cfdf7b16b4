/*
** The start sequence with windows on Linux. The Qt windows live in a library
** of their own, kvupgrade-windows.so beside the program, loaded only here: the
** unattended program never maps Qt and the libraries it brings.
**
** The program copies itself into the installation's version folder and runs
** the copy; the copy finds the library through KV_WINDOWS_LIBRARY, which the
** first process sets to the library it loaded.
*/
#include "windowed.h"

#include <cstdlib>
#include <iostream>

#include "platform/dynamic_library.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "wizard_assembly.h"

namespace kv {
namespace {

constexpr const char* kLibraryVariable = "KV_WINDOWS_LIBRARY";
constexpr const char* kLibraryFile = "kvupgrade-windows.so";

using RunQtWindows = int(const CommandLine&, RunReport&, int, char**) noexcept;

}  // namespace

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

int RunWithWindows(const CommandLine& commandLine, RunReport& report, int argc, char** argv) {
  const char* named = std::getenv(kLibraryVariable);
  const std::string path = named && *named ? std::string(named) : FolderOf(RealProcesses().OwnPath()) + kLibraryFile;
  std::string error;
  const std::unique_ptr<DynamicLibrary> library = LoadDynamicLibrary({path.c_str()}, error);
  auto* run = library ? reinterpret_cast<RunQtWindows*>(library->Symbol("kv_run_qt_windows")) : nullptr;
  if (!run) {
    std::cerr << "kvupgrade: не удаётся загрузить окна программы (" << (library ? path : error)
              << "); без окон: kvupgrade --unattended\n";
    return kUnexpectedError;
  }
  ::setenv(kLibraryVariable, path.c_str(), 0);  // for the copy in the version folder
  return run(commandLine, report, argc, argv);
}

}  // namespace kv
