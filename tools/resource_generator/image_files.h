#pragma once

#include <string>
#include <vector>

#include "picture.h"

namespace resgen {

// A bottom-up 32-bit BMP (BITMAPINFOHEADER, BI_RGB) with straight alpha in the fourth byte.
std::string EncodeBmp(const Image& image);

// An icon file with one 32-bit BGRA entry per image, each with its AND mask.
std::string EncodeIco(const std::vector<Image>& images);

}  // namespace resgen
