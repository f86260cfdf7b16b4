/*
** The test build's switches, from its environment:
**   KV_TEST_SKIP_CONNECTION_CHECK=1  what the server does without the check;
**   KV_TEST_LOCK_TIMEOUT=SECONDS     a pack held up by another client's lock, in seconds;
**   KV_TEST_SKIP_PAUSES=1            the benchmarks that time the whole program.
*/
#include <cstdlib>

#include "test_switches.h"

namespace kv {
namespace {

bool On(const char* name) {
  const char* value = std::getenv(name);
  return value && *value == '1';
}

}  // namespace

TestSwitches ProgramTestSwitches() {
  TestSwitches switches;
  switches.skipConnectionCheck = On("KV_TEST_SKIP_CONNECTION_CHECK");
  switches.skipPauses = On("KV_TEST_SKIP_PAUSES");
  if (const char* wait = std::getenv("KV_TEST_LOCK_TIMEOUT"); wait && std::atoi(wait) > 0)
    switches.lockTimeout = std::chrono::seconds(std::atoi(wait));
  return switches;
}

}  // namespace kv
