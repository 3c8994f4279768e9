#include <unistd.h>

#include "exchange/process_info.h"

namespace zw {

std::uint32_t ParentProcessId() { return static_cast<std::uint32_t>(::getppid()); }

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(::getpid()); }

}  // namespace zw
