// The dock rule both views lay their forms out by.
#include <gtest/gtest.h>

#include <vector>

#include "platform/dock_layout.h"

namespace kv::form {
namespace {

TEST(DockLayout, TopAndBottomStackAtTheirEdgesInOrderAndClientTakesTheRest) {
  // The wizard's shape, in a parent that does not start at the origin (below a tab strip).
  const std::vector<Docked> children{
      {Align::Top, {5, 5, 10, 81}},     // banner: only its height counts
      {Align::Bottom, {0, 0, 0, 41}},   // button bar
      {Align::Client, {1, 2, 3, 4}},    // pages
      {Align::None, {8, 433, 75, 25}},  // a button keeps its bounds
      {Align::Top, {0, 0, 0, 20}},      // a second top goes below the first, whatever its place in the list
      {Align::Bottom, {0, 0, 0, 10}},
  };
  const std::vector<Rect> placed = DockLayout({0, 24, 558, 466}, children);
  EXPECT_EQ(placed, (std::vector<Rect>{{0, 24, 558, 81},
                                       {0, 449, 558, 41},
                                       {0, 125, 558, 314},
                                       {8, 433, 75, 25},
                                       {0, 105, 558, 20},
                                       {0, 439, 558, 10}}));
}

TEST(DockLayout, EveryClientGetsTheSameRestAndNothingGoesNegativeInATooSmallParent) {
  const std::vector<Docked> children{
      {Align::Client, {}}, {Align::Top, {0, 0, 0, 30}}, {Align::Bottom, {0, 0, 0, 30}}, {Align::Client, {}}};
  const std::vector<Rect> placed = DockLayout({10, 0, 40, 50}, children);
  EXPECT_EQ(placed[0], (Rect{10, 30, 40, 0}));
  EXPECT_EQ(placed[3], placed[0]);
  EXPECT_EQ(placed[2], (Rect{10, 20, 40, 30}));  // the bottom one overlaps the top one rather than shrink

  EXPECT_EQ(DockLayout({0, 0, -5, 20}, std::vector<Docked>{{Align::Client, {}}}), (std::vector<Rect>{{0, 0, 0, 20}}));
  EXPECT_TRUE(DockLayout({0, 0, 10, 10}, {}).empty());
}

}  // namespace
}  // namespace kv::form
