/*
** The arguments on POSIX: main() gets them as the bytes they were given.
*/
#include "platform/program_arguments.h"

namespace kv {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

}  // namespace kv
