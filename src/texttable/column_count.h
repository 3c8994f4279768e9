#pragma once

#include <string_view>

namespace zw {

// The number of columns of the text for a delimiter: 0 when no line contains the delimiter,
// else the largest delimiter count of a line plus one, at most 30. Any '\r' or '\n' ends a
// line.
int CountColumns(std::string_view text, char delimiter);

// The same count eight bytes at a time with integer steps only: what CountColumns does where
// the processor has no 16-byte comparisons. Kept callable so that both are tested anywhere.
int CountColumnsByWords(std::string_view text, char delimiter);

}  // namespace zw
