#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zw {

// Calls on_line(std::string_view) for each line of the text. Lines end at CR LF, a lone CR
// or a lone LF; a line break at the very end does not add an empty line.
template <class OnLine>
void ForEachLine(std::string_view text, OnLine&& on_line) {
  std::size_t start = 0;
  const std::size_t size = text.size();
  while (start < size) {
    std::size_t end = start;
    while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
    on_line(text.substr(start, end - start));
    if (end < size && text[end] == '\r' && end + 1 < size && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

std::vector<std::string> SplitLines(std::string_view text);

}  // namespace zw
