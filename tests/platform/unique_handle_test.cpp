// The handle owner and the scope guard: every handle closed exactly once, and
// clean-up that runs on failure but not after success.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/scope_exit.h"
#include "platform/unique_handle.h"

namespace kv {
namespace {

// Handles are small integers; 0 owns nothing; closing records the handle.
struct RecordingTraits {
  using Handle = int;
  static Handle None() { return 0; }
  int Close(Handle h) const {
    closed->push_back(h);
    return h == 13 ? -1 : 0;  // 13 fails to close
  }
  std::vector<int>* closed = nullptr;
};
using Owned = UniqueHandle<RecordingTraits>;

TEST(UniqueHandle, ClosesEachHandleOnceAcrossMovesResetsAndReleases) {
  std::vector<int> closed;
  const RecordingTraits traits{&closed};
  {
    Owned a(1, traits);
    Owned b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), 1);
    Owned c(2, traits);
    c = std::move(b);  // closes 2, takes 1
    EXPECT_EQ(closed, (std::vector<int>{2}));
    c.Reset(3);  // closes 1
    *c.Put() = 4;  // Put closes 3 before handing out the address
    Owned d(5, traits);
    EXPECT_EQ(d.Release(), 5);  // not closed: the caller owns it now
    Owned e(traits);
    EXPECT_FALSE(e);
  }
  EXPECT_EQ(closed, (std::vector<int>{2, 1, 3, 4}));
}

TEST(UniqueHandle, CloseReportsTheCloseFunctionsResultOnce) {
  std::vector<int> closed;
  Owned bad(13, RecordingTraits{&closed});
  EXPECT_EQ(bad.Close(), -1);
  EXPECT_FALSE(bad);
  EXPECT_EQ(bad.Close(), 0);  // nothing left to close
  EXPECT_EQ(closed, (std::vector<int>{13}));
}

TEST(ScopeExit, RunsWhenTheScopeFailsOrEndsAndNotAfterRelease) {
  int runs = 0;
  try {
    ScopeExit guard([&] { ++runs; });
    throw std::runtime_error("failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(runs, 1);
  { ScopeExit guard([&] { ++runs; }); }
  EXPECT_EQ(runs, 2);
  {
    ScopeExit guard([&] { ++runs; });
    guard.Release();
  }
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace kv
