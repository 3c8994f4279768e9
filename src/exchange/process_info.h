#pragma once

#include <cstdint>

namespace zw {

// The process that started this one; 0 when it cannot be found.
std::uint32_t ParentProcessId();

std::uint32_t CurrentProcessId();

}  // namespace zw
