/*
** Wall-clock time and pauses.
**
** Everything that reads the date or sleeps goes through a Clock, so tests can
** fix the date and record the pauses the program makes instead of waiting.
*/
#pragma once

namespace kv {

struct LocalDateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  /* Current local date and time. */
  virtual LocalDateTime Now() = 0;
  /* Blocks the calling thread for ms milliseconds. */
  virtual void SleepMs(int ms) = 0;
};

/* The machine's real clock. */
Clock& SystemClock();

}  // namespace kv
