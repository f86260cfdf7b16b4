/*
** The throttle in front of a view's message pump.
**
** The install run reports progress from the interface thread, sometimes
** thousands of times a second; processing pending events on each report would
** slow the run down, on none would freeze the window. The views pump through
** this decorator, at most once every 25 ms.
*/
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace kv {

class PumpThrottle {
 public:
  /* Milliseconds from any fixed origin, never going back. */
  using TimeSource = std::function<std::uint64_t()>;

  /* Throws std::invalid_argument without a pump or a time source. */
  explicit PumpThrottle(std::function<void()> pump, TimeSource now = SteadyMilliseconds);

  /* Pumps unless the last pump was less than kInterval ms ago. */
  void KeepResponsive();
  /* Pumps at once (the logic asked for it) and starts a new interval. */
  void PumpNow();

  static constexpr std::uint64_t kInterval = 25;
  static std::uint64_t SteadyMilliseconds();

 private:
  std::function<void()> pump_;
  TimeSource now_;
  std::optional<std::uint64_t> last_;
};

}  // namespace kv
