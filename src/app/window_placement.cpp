#include "app/window_placement.h"

#include <algorithm>

namespace zw {

ScreenRect DesktopRect(const ScreenRect& work_area, const std::vector<ScreenRect>& monitors) {
  ScreenRect desktop = work_area;
  for (const ScreenRect& monitor : monitors) {
    desktop.Left = std::min(desktop.Left, monitor.Left);
    desktop.Top = std::min(desktop.Top, monitor.Top);
    desktop.Right = std::max(desktop.Right, monitor.Right);
    desktop.Bottom = std::max(desktop.Bottom, monitor.Bottom);
  }
  return desktop;
}

void CorrectWindowPosition(int& x, int& y, int cx, int cy, const ScreenRect& desktop,
                           const std::optional<Taskbar>& taskbar) {
  // Left and top are tested first: a window wider or taller than the desktop keeps those edges.
  if (x <= desktop.Left + kSnapDistance) {
    x = desktop.Left;
  } else if (x + cx >= desktop.Right - kSnapDistance) {
    x = desktop.Right - cx;
  }
  if (y <= desktop.Top + kSnapDistance) {
    y = desktop.Top;
  } else if (y + cy >= desktop.Bottom - kSnapDistance) {
    y = desktop.Bottom - cy;
  }
  if (!taskbar) return;
  const ScreenRect& bar = taskbar->Bounds;
  const int overlap_left = std::max(x, bar.Left);
  const int overlap_right = std::min(x + cx, bar.Right);
  const int overlap_top = std::max(y, bar.Top);
  const int overlap_bottom = std::min(y + cy, bar.Bottom);
  if (overlap_left >= overlap_right || overlap_top >= overlap_bottom) return;
  switch (taskbar->Edge) {
    case 0:
      x += overlap_right - overlap_left;
      break;
    case 1:
      y += overlap_bottom - overlap_top;
      break;
    case 2:
      x -= overlap_right - overlap_left;
      break;
    case 3:
      y -= overlap_bottom - overlap_top;
      break;
    default:
      break;
  }
}

}  // namespace zw
