/*
** What the tests that run the whole program change in it. The shipped
** programs link test_switches_none.cpp and so hold only the defaults; the test
** build (kvupgrade-test) links test_switches_environment.cpp, which reads them
** from its environment.
*/
#pragma once

#include <chrono>
#include <optional>

namespace kv {

struct TestSwitches {
  bool skipConnectionCheck = false;                 // no check for other clients before the first pack
  std::optional<std::chrono::seconds> lockTimeout;  // the wait for another client's lock, when shorter
  bool skipPauses = false;                          // no pauses for an operator to read a line
};

/* The switches of this build of the program. */
TestSwitches ProgramTestSwitches();

}  // namespace kv
