#pragma once

#include <string>

#include "orderlines/uDataGridLines.h"

namespace zw::bench {

// A calculation like the demo one (9 tab-separated columns, CR LF, heading row first) with
// the given number of item rows, about 80 bytes each.
std::string DemoLikeText(int rows);

// The rules of the demo template, to be saved under a name that is tried.
std::string DemoRules();

// Lines as the demo conversion makes them: every tenth a text line, every third with a long
// text.
void FillDemoLikeLines(TExDataGridLines& lines, int count);

}  // namespace zw::bench
