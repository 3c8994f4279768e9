#include "app/placement_adapter_win32.h"

#include <shellapi.h>

#include <optional>
#include <vector>

#include "app/window_placement.h"

namespace zw {

void CorrectWindowPosChanging(HWND window, WINDOWPOS& position) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  std::vector<ScreenRect> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT bounds, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back(
            {bounds->left, bounds->top, bounds->right, bounds->bottom});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  const ScreenRect desktop = DesktopRect({work.left, work.top, work.right, work.bottom}, monitors);
  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  std::optional<Taskbar> taskbar;
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
    taskbar = Taskbar{{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom}, bar.uEdge};
  }
  int x = position.x;
  int y = position.y;
  int cx = position.cx;
  int cy = position.cy;
  // A move without a size change may carry no size; the window keeps its own then.
  if (position.flags & SWP_NOSIZE) {
    RECT bounds;
    GetWindowRect(window, &bounds);
    cx = bounds.right - bounds.left;
    cy = bounds.bottom - bounds.top;
  }
  CorrectWindowPosition(x, y, cx, cy, desktop, taskbar);
  position.x = x;
  position.y = y;
}

}  // namespace zw
