#include "texttable/normalize.h"

#include "base/ascii.h"

namespace zw {

std::string NormalizeText(std::string_view text) {
  std::string normalized;
  NormalizeTextInto(text, normalized);
  return normalized;
}

void NormalizeTextInto(std::string_view text, std::string& out) {
  out.clear();
  // Tabs and blanks are themselves trimmed characters, so trimming first and removing them
  // afterwards gives the same result without a second pass.
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(text[begin])) ++begin;
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  // Every byte is written and the end moves on only for a kept one, which needs no branch.
  out.resize(end - begin);
  char* kept = out.data();
  for (std::size_t i = begin; i < end; ++i) {
    *kept = text[i];
    kept += text[i] != '\t' && text[i] != ' ';
  }
  out.resize(static_cast<std::size_t>(kept - out.data()));
}

bool ContainsRequiredLine(std::string_view text, std::string_view normalized_required) {
  std::string line_text;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    NormalizeTextInto(text.substr(start, end - start), line_text);
    if (line_text.find(normalized_required) != std::string::npos) return true;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return false;
}

}  // namespace zw
