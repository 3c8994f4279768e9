#pragma once

#include <windows.h>

namespace zw {

// Answers WM_WINDOWPOSCHANGING for the main window: hands the proposed position, with the
// system's work area, monitors and taskbar, to CorrectWindowPosition and writes the corrected
// position back. The size is never changed.
void CorrectWindowPosChanging(HWND window, WINDOWPOS& position);

}  // namespace zw
