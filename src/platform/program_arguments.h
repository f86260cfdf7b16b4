/*
** The options the program was started with.
*/
#pragma once

#include <string>
#include <vector>

namespace kv {

/* The arguments after the program's name, in UTF-8. argc and argv are main()'s;
** Windows hands main() its arguments in the ANSI code page, which loses every
** character the code page lacks, so there they are read from the UTF-16
** command line instead. */
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace kv
