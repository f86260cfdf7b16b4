/*
** The shipped programs' switches: none.
*/
#include "test_switches.h"

namespace kv {

TestSwitches ProgramTestSwitches() { return {}; }

}  // namespace kv
