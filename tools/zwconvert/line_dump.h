#pragma once

#include <string>

#include "orderlines/uCustomDataGridLines.h"

namespace zw {

// Every order line as its 24 properties, one "Name=Value" line each in published order, then
// an empty line. Backslash, CR, LF and tab in values are written \\, \r, \n and \t.
std::string DumpLines(const TCustomDataGridLines& lines);

}  // namespace zw
