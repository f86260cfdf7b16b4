/*
** The start with windows on Windows. The native windows are not built yet:
** the program says so and points to --unattended.
*/
#include <iostream>

#include "windowed.h"
#include "wizard_assembly.h"

namespace kv {

bool DisplayAvailable() { return true; }

int RunWithWindows(const CommandLine&, int, char**) {
  std::cerr << "kvupgrade: this Windows build has no windows yet; run it with --unattended\n";
  return 64;
}

}  // namespace kv
