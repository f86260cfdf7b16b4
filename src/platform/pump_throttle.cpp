#include "platform/pump_throttle.h"

#include <chrono>
#include <stdexcept>

namespace kv {

PumpThrottle::PumpThrottle(std::function<void()> pump, TimeSource now) : pump_(std::move(pump)), now_(std::move(now)) {
  if (!pump_ || !now_) throw std::invalid_argument("PumpThrottle needs a pump and a time source");
}

void PumpThrottle::KeepResponsive() {
  if (last_ && now_() - *last_ < kInterval) return;
  PumpNow();
}

void PumpThrottle::PumpNow() {
  pump_();
  // Taken after the pump: time spent pumping does not count toward the next interval.
  last_ = now_();
}

std::uint64_t PumpThrottle::SteadyMilliseconds() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace kv
