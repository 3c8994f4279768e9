#pragma once

#include <cstdint>

// The panel colours of the main window, as 0x00BBGGRR colour values.
namespace zw {

constexpr std::uint32_t IdleColour = 0x79E1FF;     // light yellow, between flashes
constexpr std::uint32_t SuccessColour = 0xE1BF9D;  // light blue, the lines were delivered
constexpr std::uint32_t NoMatchColour = 0x808080;  // grey, nothing was delivered

}  // namespace zw
