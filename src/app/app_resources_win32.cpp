#include <windows.h>

#include <cstring>

#include "app/app_resources_win32.h"

namespace zw {

std::string_view ResourceBytes(const char* name) {
  HRSRC resource = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (resource == nullptr) return {};
  HGLOBAL loaded = LoadResource(nullptr, resource);
  if (loaded == nullptr) return {};
  return {static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, resource)};
}

std::string PictureBgra(std::string_view bmp) {
  constexpr int kSide = 48;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  if (bmp.size() < sizeof file + sizeof info) return {};
  std::memcpy(&file, bmp.data(), sizeof file);
  std::memcpy(&info, bmp.data() + sizeof file, sizeof info);
  const int height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
  const std::size_t row = kSide * 4;
  if (file.bfType != 0x4D42 || info.biWidth != kSide || height != kSide || info.biBitCount != 32 ||
      file.bfOffBits + row * kSide > bmp.size()) {
    return {};
  }
  std::string pixels(row * kSide, '\0');
  for (int y = 0; y < kSide; ++y) {
    // Bottom-up files store the last row first.
    const int source = info.biHeight < 0 ? y : kSide - 1 - y;
    std::memcpy(pixels.data() + y * row, bmp.data() + file.bfOffBits + source * row, row);
  }
  return pixels;
}

}  // namespace zw
