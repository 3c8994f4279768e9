#pragma once

#include <cstdint>
#include <vector>

namespace resgen {

struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;
};

// Rows top to bottom, straight (not premultiplied) alpha.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  const Rgba& At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// The tool's picture: a clipboard holding a small table, on a transparent background.
// Sizes 16, 32 and 48 have layouts fitted to the pixel grid; others are scaled from 48.
Image DrawClipboard(int size);

}  // namespace resgen
