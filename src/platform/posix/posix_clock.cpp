/*
** The real clock on POSIX: local time from localtime_r, pauses by nanosleep.
*/
#include <cerrno>
#include <ctime>

#include "platform/clock.h"

namespace kv {
namespace {

class PosixClock final : public Clock {
 public:
  LocalDateTime Now() override {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }

  void SleepMs(int ms) override {
    if (ms <= 0) return;
    timespec left{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) == -1 && errno == EINTR) {
    }
  }
};

}  // namespace

Clock& SystemClock() {
  static PosixClock clock;
  return clock;
}

}  // namespace kv
