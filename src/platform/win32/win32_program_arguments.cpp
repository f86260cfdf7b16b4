/*
** The arguments on Windows, split from the UTF-16 command line by the rules
** the C runtime uses (the relaunch quotes them that way).
*/
#include "platform/program_arguments.h"
#include "platform/win32/wide.h"

#include <shellapi.h>

namespace kv {
namespace {

struct LocalMemoryTraits {
  using Handle = wchar_t**;
  static Handle None() { return nullptr; }
  HLOCAL Close(Handle h) const { return ::LocalFree(h); }
};

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int n = 0;
  const UniqueHandle<LocalMemoryTraits> wide(::CommandLineToArgvW(::GetCommandLineW(), &n));
  // The split fails only without memory; the ANSI arguments are still right
  // for every character of the code page.
  if (!wide) return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  std::vector<std::string> out;
  for (int i = 1; i < n; ++i) out.push_back(win32::Utf8(wide.Get()[i]));
  return out;
}

}  // namespace kv
