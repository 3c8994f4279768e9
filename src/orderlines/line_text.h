#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// The bytes of the long texts of many order lines in a few large blocks: a conversion makes
// 100,000 lines with two or three such texts each, and one allocation per text would cost more
// than the text. The blocks grow from a small first one, so a short copy takes little memory.
// Its blocks are freed only with the store.
class LineTextStore {
 public:
  // Room for `size` bytes at an address divisible by four, valid as long as the store.
  // Inline: the row loop takes room for two or three texts of every line.
  char* Allocate(std::size_t size) {
    const std::size_t rounded = (size + 3) & ~static_cast<std::size_t>(3);
    if (rounded > left_ || rounded < size) return AllocateInNewBlock(size);
    char* const room = free_;
    free_ += rounded;
    left_ -= rounded;
    return room;
  }
  // Frees every block; no text taken from the store may be read afterwards.
  void Clear() noexcept;

 private:
  char* AllocateInNewBlock(std::size_t size);

  static constexpr std::size_t kFirstBlockSize = 4 * 1024;
  static constexpr std::size_t kBlockSize = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  std::size_t left_ = 0;
  std::size_t next_block_size_ = kFirstBlockSize;
};

// A text property of an order line, read as a std::string_view. It takes 8 bytes, a quarter
// of a std::string: a line has 21 of them, most empty or a few bytes long. Texts of up to 7
// bytes stay inside; a longer one lives in a heap block of its own that holds its length and
// its bytes, or in such a block within a LineTextStore. A text in a store borrows it; a copy or
// a move of it owns its bytes again, so no text outlives the store it reads from.
class LineText {
 public:
  LineText() noexcept = default;
  explicit LineText(std::string_view text) { Assign(text); }
  LineText(const LineText& other) { Assign(other); }
  LineText(LineText&& other);
  // Inline: a run frees 21 texts per line, nearly all without a block of their own.
  ~LineText() {
    if ((word_ & 3) == 0) FreeBlock();
  }

  LineText& operator=(const LineText& other);
  LineText& operator=(LineText&& other);
  LineText& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }

  operator std::string_view() const noexcept { return {data(), size()}; }  // NOLINT
  std::string_view view() const noexcept { return *this; }
  std::string str() const { return std::string(view()); }

  // Inline: the renderings ask for them several times per property.
  const char* data() const noexcept {
    return IsInline() ? reinterpret_cast<const char*>(&word_) + kInlineStart
                      : Block() + sizeof(std::uint32_t);
  }
  std::size_t size() const noexcept {
    if (IsInline()) return (word_ & kTagMask) >> 1;
    std::uint32_t length = 0;
    std::memcpy(&length, Block(), sizeof length);
    return length;
  }
  bool empty() const noexcept { return size() == 0; }

  // Takes the text, a longer one into the store: the store must outlive this text's value,
  // as a collection's store outlives its lines.
  void AssignStored(std::string_view text, LineTextStore& store);

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
  static constexpr std::size_t kInline = 7;
  // The tag is the lowest byte of the word: its lowest bit is set for an inline text, and the
  // length sits above it. Otherwise the word is a block's address, which is divisible by four,
  // with the second bit set for a block in a store.
  static constexpr std::uint64_t kTagMask = 0xFF;
  static constexpr std::size_t kInlineStart = std::endian::native == std::endian::little ? 1 : 0;
  static constexpr std::uint64_t kEmpty = 1;  // inline, length 0

  static constexpr std::uint64_t kStoredMark = 2;
  bool IsInline() const noexcept { return (word_ & 1) != 0; }
  bool IsStored() const noexcept { return (word_ & 3) == kStoredMark; }
  // The block: the length as four bytes, then the text.
  const char* Block() const noexcept {
    return reinterpret_cast<const char*>(word_ & ~static_cast<std::uint64_t>(3));
  }
  static std::uint64_t InlineWord(std::string_view text) noexcept;
  // Takes over the other text's word, or a copy of its bytes when they are in a store.
  void TakeFrom(LineText& other);
  void Assign(std::string_view text);
  // Takes the text: a longer one into the store when one is given, else into a block of its
  // own.
  void Set(std::string_view text, LineTextStore* store);
  void Release() noexcept;
  // Frees the block of a text that owns one.
  void FreeBlock() noexcept;

  std::uint64_t word_ = kEmpty;
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
