#pragma once

#include <ostream>
#include <string>

#include "orderlines/uCustomDataGridLines.h"

namespace zw {

// Every order line as its 24 properties, one "Name=Value" line each in published order, then
// an empty line. Backslash, CR, LF and tab in values are written \\, \r, \n and \t.
void DumpLines(const TCustomDataGridLines& lines, std::ostream& out);
std::string DumpLines(const TCustomDataGridLines& lines);

}  // namespace zw
