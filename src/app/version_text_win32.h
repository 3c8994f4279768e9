#pragma once

#include <string>

namespace zw {

// The file version of the running executable from its version resource; "" on any failure.
std::string FileVersionString();

}  // namespace zw
