#pragma once

#include <string_view>

// A strict check of JSON syntax for the fuzz targets: objects, arrays, strings (control
// characters must be escaped), numbers and the three literals, with nothing after the value.
// Bytes above 127 pass inside strings, since the order JSON is 8-bit text.
namespace zw::fuzz {

class JsonSyntax {
 public:
  explicit JsonSyntax(std::string_view text) : text_(text) {}

  bool IsDocument() {
    if (!Value(0)) return false;
    SkipBlanks();
    return at_ == text_.size();
  }

 private:
  static constexpr int kMaxDepth = 64;

  bool Value(int depth) {
    SkipBlanks();
    if (at_ == text_.size() || depth > kMaxDepth) return false;
    switch (text_[at_]) {
      case '{':
        return Members(depth);
      case '[':
        return Elements(depth);
      case '"':
        return String();
      case 't':
        return Literal("true");
      case 'f':
        return Literal("false");
      case 'n':
        return Literal("null");
      default:
        return Number();
    }
  }

  bool Members(int depth) {
    ++at_;
    SkipBlanks();
    if (Take('}')) return true;
    do {
      SkipBlanks();
      if (!String()) return false;
      SkipBlanks();
      if (!Take(':') || !Value(depth + 1)) return false;
      SkipBlanks();
    } while (Take(','));
    return Take('}');
  }

  bool Elements(int depth) {
    ++at_;
    SkipBlanks();
    if (Take(']')) return true;
    do {
      if (!Value(depth + 1)) return false;
      SkipBlanks();
    } while (Take(','));
    return Take(']');
  }

  bool String() {
    if (!Take('"')) return false;
    while (at_ < text_.size()) {
      const auto c = static_cast<unsigned char>(text_[at_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') continue;
      if (at_ == text_.size()) return false;
      const char escaped = text_[at_++];
      if (escaped == 'u') {
        for (int i = 0; i < 4; ++i) {
          if (at_ == text_.size() || !IsHexDigit(text_[at_++])) return false;
        }
      } else if (std::string_view("\"\\/bfnrt").find(escaped) == std::string_view::npos) {
        return false;
      }
    }
    return false;
  }

  bool Number() {
    Take('-');
    if (!Digits()) return false;
    if (Take('.') && !Digits()) return false;
    if (Take('e') || Take('E')) {
      if (!Take('+')) Take('-');
      if (!Digits()) return false;
    }
    return true;
  }

  bool Digits() {
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
    return at_ > start;
  }

  bool Literal(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  bool Take(char c) {
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  void SkipBlanks() {
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
      ++at_;
    }
  }

  static bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

inline bool IsJsonText(std::string_view text) { return JsonSyntax(text).IsDocument(); }

}  // namespace zw::fuzz
