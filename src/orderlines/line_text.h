#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>

namespace zw {

// A text property of an order line, read as a std::string_view. It takes 16 bytes instead of a
// std::string's 32: texts of up to 15 bytes, nearly all of a line's, stay inside, longer ones
// live in one heap block of exactly their size. A line has 21 of them, most of them empty.
class LineText {
 public:
  LineText() noexcept = default;
  explicit LineText(std::string_view text) { Assign(text); }
  LineText(const LineText& other) { Assign(other); }
  LineText(LineText&& other) noexcept;
  ~LineText() { Release(); }

  LineText& operator=(const LineText& other);
  LineText& operator=(LineText&& other) noexcept;
  LineText& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }

  operator std::string_view() const noexcept { return {data(), size()}; }  // NOLINT
  std::string_view view() const noexcept { return *this; }
  std::string str() const { return std::string(view()); }

  // Inline: the renderings ask for them several times per property.
  const char* data() const noexcept {
    return OnHeap() ? HeapData() : reinterpret_cast<const char*>(bytes_);
  }
  std::size_t size() const noexcept {
    if (!OnHeap()) return bytes_[kInline];
    std::uint32_t length = 0;
    std::memcpy(&length, bytes_ + sizeof(char*), sizeof length);
    return length;
  }
  bool empty() const noexcept { return size() == 0; }

  void clear() noexcept { Release(); }
  LineText& append(std::string_view text);
  LineText& operator+=(std::string_view text) { return append(text); }
  // Keeps the first `length` bytes; a longer length pads with zero bytes as std::string does.
  void resize(std::size_t length);
  std::string substr(std::size_t position, std::size_t length = std::string::npos) const {
    return std::string(view().substr(position, length));
  }
  std::size_t find(char c, std::size_t position = 0) const noexcept {
    return view().find(c, position);
  }
  std::size_t find(std::string_view text, std::size_t position = 0) const noexcept {
    return view().find(text, position);
  }

 private:
  static constexpr std::size_t kInline = 15;
  static constexpr std::uint8_t kHeapMark = 0x80;

  // The last byte holds the length of an inline text, or kHeapMark; then the first eight bytes
  // hold the block's address and the next four its length. All zero is the empty text.
  bool OnHeap() const noexcept { return bytes_[kInline] == kHeapMark; }
  char* HeapData() const noexcept {
    char* block = nullptr;
    std::memcpy(&block, bytes_, sizeof block);
    return block;
  }
  void Assign(std::string_view text);
  void Release() noexcept;

  alignas(8) unsigned char bytes_[kInline + 1] = {};
};

inline bool operator==(const LineText& a, const LineText& b) noexcept {
  return a.view() == b.view();
}
inline bool operator==(const LineText& a, std::string_view b) noexcept { return a.view() == b; }
inline bool operator==(const LineText& a, const char* b) { return a.view() == std::string_view(b); }
inline bool operator==(const LineText& a, const std::string& b) {
  return a.view() == std::string_view(b);
}

std::ostream& operator<<(std::ostream& out, const LineText& text);

}  // namespace zw
