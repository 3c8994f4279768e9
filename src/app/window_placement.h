#pragma once

#include <optional>
#include <vector>

// Where the borderless main window may stand: never off the desktop, flush with an edge it
// comes within 3 pixels of, and never over the taskbar.
namespace zw {

struct ScreenRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

struct Taskbar {
  ScreenRect Bounds;
  unsigned Edge = 3;  // 0 left, 1 top, 2 right, 3 bottom
};

constexpr int kSnapDistance = 3;

// The work area of the primary monitor grown to hold the full bounds of every monitor.
ScreenRect DesktopRect(const ScreenRect& work_area, const std::vector<ScreenRect>& monitors);

// Corrects a proposed position (x, y) of a window of size cx by cy in place.
void CorrectWindowPosition(int& x, int& y, int cx, int cy, const ScreenRect& desktop,
                           const std::optional<Taskbar>& taskbar);

}  // namespace zw
