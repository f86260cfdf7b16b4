/*
** The machine's clock on Windows.
*/
#include "platform/clock.h"
#include "platform/win32/wide.h"

namespace kv {
namespace {

class WindowsClock final : public Clock {
 public:
  LocalDateTime Now() override {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
  }
  void SleepMs(int ms) override { ::Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0); }
};

}  // namespace

Clock& SystemClock() {
  static WindowsClock clock;
  return clock;
}

}  // namespace kv
