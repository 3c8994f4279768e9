#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The main window's panel: where its parts lie, in client coordinates, and how it is drawn.
namespace zw {

constexpr RECT kCloseButton{151, 10, 176, 35};   // "X"
constexpr RECT kFolderButton{123, 10, 148, 35};  // "E"
constexpr RECT kLabel{11, 57, 164, 80};
constexpr RECT kImage{10, 10, 58, 58};
constexpr const char* kLabelText = "Zwischenablage";

// The button held down with the mouse; the panel draws it pressed.
constexpr int kNoButton = 0;
constexpr int kCloseButtonId = 4;
constexpr int kFolderButtonId = 5;

// Whether the client point (x, y) lies inside rect.
constexpr bool Inside(const RECT& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// The label's text measured on dc in the label's font made scale times larger: its extent, the
// advance width of each character and the face the system chose. At a large scale the widths
// are the font's own, free of the renderer's pixel rounding.
struct LabelMeasure {
  SIZE Extent;
  std::vector<int> Advances;
  std::string Face;
};
LabelMeasure MeasureLabel(HDC dc, int scale = 1);

// Paints the whole client area of window in answer to WM_PAINT: the panel in colour
// (0x00BBGGRR), the label, both buttons and the picture (48 x 48 BGRA, top row first, its
// transparent parts showing the panel colour; any other size draws no picture).
void PaintPanel(HWND window, std::uint32_t colour, int pressed_button, std::string_view picture);

}  // namespace zw
