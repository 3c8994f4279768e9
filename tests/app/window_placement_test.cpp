#include "app/window_placement.h"

#include <gtest/gtest.h>

namespace zw {
namespace {

const ScreenRect kScreen{0, 0, 1280, 1024};
constexpr int kWidth = 182;
constexpr int kHeight = 88;

struct Position {
  int x;
  int y;
};

Position Corrected(int x, int y, const std::optional<Taskbar>& taskbar = std::nullopt,
                   const ScreenRect& desktop = kScreen) {
  CorrectWindowPosition(x, y, kWidth, kHeight, desktop, taskbar);
  return {x, y};
}

TEST(WindowPlacement, SnapsWithinThreePixelsOfAnEdge) {
  EXPECT_EQ(Corrected(2, 500).x, 0);
  EXPECT_EQ(Corrected(3, 500).x, 0);
  EXPECT_EQ(Corrected(4, 500).x, 4);
  EXPECT_EQ(Corrected(500, 2).y, 0);
  EXPECT_EQ(Corrected(500, 4).y, 4);
  EXPECT_EQ(Corrected(1280 - kWidth - 2, 500).x, 1280 - kWidth);
  EXPECT_EQ(Corrected(1280 - kWidth - 4, 500).x, 1280 - kWidth - 4);
  EXPECT_EQ(Corrected(500, 1024 - kHeight - 3).y, 1024 - kHeight);
}

TEST(WindowPlacement, CannotLeaveTheDesktop) {
  EXPECT_EQ(Corrected(-50, 500).x, 0);
  EXPECT_EQ(Corrected(1250, 500).x, 1280 - kWidth);
  EXPECT_EQ(Corrected(500, -10).y, 0);
  EXPECT_EQ(Corrected(500, 1000).y, 1024 - kHeight);
}

TEST(WindowPlacement, AtTheLeftAndTopEdgesAWindowLargerThanTheDesktopStaysThere) {
  const ScreenRect tiny{0, 0, 100, 50};
  // The left and top tests come first, so they win over the right and bottom ones.
  const Position at_corner = Corrected(2, 1, std::nullopt, tiny);
  EXPECT_EQ(at_corner.x, 0);
  EXPECT_EQ(at_corner.y, 0);
  const Position inside = Corrected(40, 30, std::nullopt, tiny);
  EXPECT_EQ(inside.x, 100 - kWidth);
  EXPECT_EQ(inside.y, 50 - kHeight);
}

TEST(WindowPlacement, StaysOffTheTaskbar) {
  const Taskbar bottom{{0, 984, 1280, 1024}, 3};
  // Snapping to the screen's bottom edge first, then pushed up onto the taskbar's top edge.
  EXPECT_EQ(Corrected(500, 950, bottom).y, 984 - kHeight);
  EXPECT_EQ(Corrected(500, 600, bottom).y, 600);
  const Taskbar left{{0, 0, 60, 1024}, 0};
  EXPECT_EQ(Corrected(20, 500, left).x, 60);
  const Taskbar top{{0, 0, 1280, 40}, 1};
  EXPECT_EQ(Corrected(500, 10, top).y, 40);
  const Taskbar right{{1220, 0, 1280, 1024}, 2};
  EXPECT_EQ(Corrected(1200, 500, right).x, 1220 - kWidth);
  const Taskbar unknown{{0, 984, 1280, 1024}, 7};
  EXPECT_EQ(Corrected(500, 950, unknown).y, 1024 - kHeight);
}

TEST(WindowPlacement, TwoMonitorsFormOneDesktop) {
  const ScreenRect desktop =
      DesktopRect({0, 0, 1280, 984}, {{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}});
  EXPECT_EQ(desktop.Right, 2560);
  EXPECT_EQ(desktop.Bottom, 1024);
  // Across the boundary between the monitors the window moves freely.
  EXPECT_EQ(Corrected(1200, 500, std::nullopt, desktop).x, 1200);
  EXPECT_EQ(Corrected(2500, 500, std::nullopt, desktop).x, 2560 - kWidth);
  const ScreenRect left_of_primary = DesktopRect({0, 0, 1280, 984}, {{-1920, -100, 0, 980}});
  EXPECT_EQ(left_of_primary.Left, -1920);
  EXPECT_EQ(left_of_primary.Top, -100);
}

}  // namespace
}  // namespace zw
