#include "app/panel_painting_win32.h"

#include <string>
#include <tuple>

namespace zw {
namespace {

constexpr int kPictureSide = 48;

// A GDI object made for one paint, deleted when the paint is done with it.
template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() {
    if (handle_ != nullptr) DeleteObject(handle_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle Get() const { return handle_; }

 private:
  Handle handle_;
};

// An object selected into a device context while this lives; the previous one returns after.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC Dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

COLORREF Colour(std::uint32_t value) { return static_cast<COLORREF>(value); }

HFONT TahomaFont(int height, bool bold) {
  return CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, "Tahoma");
}

HFONT LabelFont(int scale = 1) { return TahomaFont(19 * scale, true); }

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.Get());
}

void DrawLabelAndButtons(HDC dc, int pressed_button) {
  const GdiObject<HFONT> bold(LabelFont());
  const Selection selected(dc, bold.Get());
  RECT label = kLabel;
  // Unclipped, like a label sized to its text: Tahoma's label is 153 pixels wide on Windows, but
  // a renderer that hints the letters wider (Wine adds five pixels) must not cut its end off.
  DrawTextA(dc, kLabelText, -1, &label, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  for (const auto& [rect, caption, id] : {std::tuple{kCloseButton, "X", kCloseButtonId},
                                          std::tuple{kFolderButton, "E", kFolderButtonId}}) {
    RECT button = rect;
    if (pressed_button == id) FillSolid(dc, button, RGB(255, 255, 255));
    FrameRect(dc, &button, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    DrawTextA(dc, caption, -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void DrawPicture(HDC dc, std::string_view picture, std::uint32_t colour) {
  if (picture.size() != std::size_t{kPictureSide} * kPictureSide * 4) return;
  // The picture's transparent parts show the panel colour.
  std::string pixels(picture.size(), '\0');
  const int panel_rgb[3] = {static_cast<int>(colour >> 16 & 0xFF),
                            static_cast<int>(colour >> 8 & 0xFF),
                            static_cast<int>(colour & 0xFF)};  // B, G, R
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    const int alpha = static_cast<unsigned char>(picture[i + 3]);
    for (int c = 0; c < 3; ++c) {
      const int value = static_cast<unsigned char>(picture[i + c]);
      pixels[i + c] = static_cast<char>((value * alpha + panel_rgb[c] * (255 - alpha)) / 255);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kPictureSide;
  info.bmiHeader.biHeight = -kPictureSide;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, kImage.left, kImage.top, kPictureSide, kPictureSide, 0, 0, 0, kPictureSide,
                    pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

LabelMeasure MeasureLabel(HDC dc, int scale) {
  const GdiObject<HFONT> font(LabelFont(scale));
  const Selection selected(dc, font.Get());
  LabelMeasure measure{};
  const std::string_view text = kLabelText;
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &measure.Extent);
  for (const char character : text) {
    const UINT code = static_cast<unsigned char>(character);
    INT width = 0;
    GetCharWidth32A(dc, code, code, &width);
    measure.Advances.push_back(width);
  }
  char face[LF_FACESIZE] = {};
  if (GetTextFaceA(dc, LF_FACESIZE, face) > 0) measure.Face = face;
  return measure;
}

void PaintPanel(HWND window, std::uint32_t colour, int pressed_button, std::string_view picture) {
  const PaintScope paint(window);
  const HDC dc = paint.Dc();
  RECT client;
  GetClientRect(window, &client);
  FillSolid(dc, client, Colour(colour));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawLabelAndButtons(dc, pressed_button);
  DrawPicture(dc, picture, colour);
}

}  // namespace zw
