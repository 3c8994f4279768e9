#include "texttable/normalize.h"

#include <algorithm>
#include <cstdint>

#include "base/ascii.h"
#include "base/byte_words.h"

namespace zw {

namespace {

constexpr std::size_t kMaxColumns = 30;  // the names A to ^ run out after 30

}  // namespace

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

int CountColumns(std::string_view text, char delimiter) {
  // A line break ends a line, so it is never a delimiter within one.
  if (delimiter == '\r' || delimiter == '\n') return 0;
  // Eight bytes at a time: the delimiters before each line break in the word close a line.
  // A table cannot be wider than kMaxColumns, so the pass ends once a line reaches it.
  constexpr std::size_t kCheckEvery = 64 * 1024;
  std::size_t widest = 0;
  std::size_t in_line = 0;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    const std::uint64_t word = WordAt(text, at);
    std::uint64_t delimiters = BytesEqual(word, delimiter);
    std::uint64_t breaks = BytesEqual(word, '\r') | BytesEqual(word, '\n');
    while (breaks != 0) {
      const std::uint64_t before = (breaks & (0 - breaks)) - 1;
      in_line += static_cast<std::size_t>(MarkedBytes(delimiters & before));
      widest = std::max(widest, in_line);
      in_line = 0;
      delimiters &= ~before;
      breaks &= breaks - 1;
    }
    in_line += static_cast<std::size_t>(MarkedBytes(delimiters));
    if (at % kCheckEvery == 0 && std::max(widest, in_line) + 1 >= kMaxColumns)
      return static_cast<int>(kMaxColumns);
  }
  for (; at < text.size(); ++at) {
    const char c = text[at];
    in_line += c == delimiter;
    if (c == '\r' || c == '\n') {
      widest = std::max(widest, in_line);
      in_line = 0;
    }
  }
  widest = std::max(widest, in_line);
  if (widest == 0) return 0;
  return static_cast<int>(std::min<std::size_t>(widest + 1, kMaxColumns));
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
