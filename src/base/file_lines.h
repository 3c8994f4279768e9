#pragma once

#include <string>
#include <vector>

#include "base/sleeper.h"

namespace zw {

// The lines of a text file that another program may hold for a moment (a template being
// saved, the order application's server list). A missing file has none. A file that cannot
// be read is tried again every 100 ms, 100 attempts in all; the last error is thrown.
std::vector<std::string> ReadLinesWithRetry(const std::string& path, Sleeper& sleeper);

}  // namespace zw
