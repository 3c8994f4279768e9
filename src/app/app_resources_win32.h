#pragma once

#include <string>
#include <string_view>

namespace zw {

// The bytes of an RCDATA resource of the executable; empty when it is missing.
std::string_view ResourceBytes(const char* name);

// The pixels of a 48 x 48, 32-bit BMP file as BGRA, top row first; empty for any other file.
std::string PictureBgra(std::string_view bmp);

}  // namespace zw
