#include "proposal/cell_kinds.h"

#include <array>

#include "base/ascii.h"
#include "base/win1252.h"

namespace zw {
namespace {

bool IsLetter(unsigned char c) {
  const unsigned char lower = LowerCase1252(c);
  return lower != UpperCase1252(c) || c == 0xDF;  // ß has no upper case of its own
}

bool IsWordCharacter(unsigned char c) {
  return IsLetter(c) || IsAsciiDigit(static_cast<char>(c)) || c == 0xB2 || c == 0xB3;
}

bool IsOwnWord(unsigned char c) { return c == 0x80 || c == '$' || c == '%'; }

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// Removes one currency or unit mark from either end, as written around amounts.
bool StripMark(std::string_view& text) {
  static constexpr std::array<std::string_view, 9> kMarks = {"CHF",  "EUR", "USD", "SFr.", "Fr.",
                                                             "\x80", "$",   "%",   "\xA3"};
  for (const std::string_view mark : kMarks) {
    if (StartsWith(text, mark)) {
      text = TrimBlankOrControl(text.substr(mark.size()));
      return true;
    }
    if (EndsWith(text, mark)) {
      text = TrimBlankOrControl(text.substr(0, text.size() - mark.size()));
      return true;
    }
  }
  for (const std::string_view whole : {".-", ".\x96", ".--"}) {
    if (EndsWith(text, whole)) {
      text = text.substr(0, text.size() - whole.size());
      return true;
    }
  }
  return false;
}

// Digits with separators and an optional sign in front or, as some programs write it, behind.
bool IsAmount(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (!text.empty() && text.back() == '-') text.remove_suffix(1);
  bool digit = false;
  for (const char c : text) {
    if (IsAsciiDigit(c)) {
      digit = true;
    } else if (c != '.' && c != ',' && c != '\'' && c != ' ' && c != '\x92') {
      return false;
    }
  }
  return digit;
}

}  // namespace

CellKind KindOfCell(std::string_view cell) {
  std::string_view text = TrimBlankOrControl(cell);
  if (text.empty()) return CellKind::Empty;
  std::string_view amount = text;
  // Most amounts are plain digits; only the others may carry a currency or a percent sign.
  if (!IsAsciiDigit(amount.front()) || !IsAsciiDigit(amount.back())) {
    while (StripMark(amount)) {
    }
  }
  if (IsAmount(amount)) return CellKind::Number;
  for (const char c : text) {
    if (IsLetter(static_cast<unsigned char>(c))) return CellKind::Words;
  }
  return CellKind::Other;
}

std::vector<std::string> HeadingWords(std::string_view cell) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : cell) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsWordCharacter(byte)) {
      word += static_cast<char>(LowerCase1252(byte));
      continue;
    }
    if (!word.empty()) words.push_back(std::move(word));
    word.clear();
    if (IsOwnWord(byte)) words.emplace_back(1, c);
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

std::string HeadingKey(std::string_view cell) {
  std::string key;
  for (const std::string& word : HeadingWords(cell)) {
    if (!key.empty()) key += ' ';
    key += word;
  }
  return key;
}

}  // namespace zw
