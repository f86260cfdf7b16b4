// The pump throttle on a time source the test moves by hand.
#include "platform/pump_throttle.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kv {
namespace {

TEST(PumpThrottle, PumpsAtFirstThenAtMostOnceEvery25msAndAPumpNowStartsANewInterval) {
  std::uint64_t now = 1000;
  int pumps = 0;
  PumpThrottle throttle([&] { ++pumps; }, [&] { return now; });

  throttle.KeepResponsive();
  EXPECT_EQ(pumps, 1) << "the first report must pump, however early";
  now += 24;
  throttle.KeepResponsive();
  EXPECT_EQ(pumps, 1);
  now += 1;
  throttle.KeepResponsive();
  EXPECT_EQ(pumps, 2);

  now += 10;
  throttle.PumpNow();
  EXPECT_EQ(pumps, 3);
  now += 24;
  throttle.KeepResponsive();
  EXPECT_EQ(pumps, 3) << "the interval runs from the last pump of either kind";
  now += 1;
  throttle.KeepResponsive();
  EXPECT_EQ(pumps, 4);
}

TEST(PumpThrottle, TheTimeSpentPumpingDoesNotCountTowardTheNextInterval) {
  std::uint64_t now = 0;
  int pumps = 0;
  PumpThrottle throttle([&] { ++pumps, now += 100; }, [&] { return now; });
  throttle.KeepResponsive();
  now += 20;
  throttle.KeepResponsive();
  EXPECT_EQ(pumps, 1);
  EXPECT_THROW(PumpThrottle({}, [] { return std::uint64_t{0}; }), std::invalid_argument);
  EXPECT_THROW(PumpThrottle([] {}, {}), std::invalid_argument);
}

}  // namespace
}  // namespace kv
