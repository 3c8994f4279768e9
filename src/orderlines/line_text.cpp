#include "orderlines/line_text.h"

#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <stdexcept>

namespace zw {

LineText::LineText(LineText&& other) noexcept {
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  std::memset(other.bytes_, 0, sizeof other.bytes_);
}

LineText& LineText::operator=(const LineText& other) {
  if (this != &other) Assign(other);
  return *this;
}

LineText& LineText::operator=(LineText&& other) noexcept {
  if (this != &other) {
    Release();
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    std::memset(other.bytes_, 0, sizeof other.bytes_);
  }
  return *this;
}

void LineText::Assign(std::string_view text) {
  unsigned char next[sizeof bytes_] = {};
  if (text.size() <= kInline) {
    // An empty view may have no data at all, which memcpy must not be given.
    if (!text.empty()) std::memcpy(next, text.data(), text.size());
    next[kInline] = static_cast<unsigned char>(text.size());
  } else {
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("text too long for an order line");
    }
    // The block is this text's owner from here until Release hands it back to a unique_ptr.
    auto block = std::make_unique_for_overwrite<char[]>(text.size());
    std::memcpy(block.get(), text.data(), text.size());
    char* const address = block.release();
    const auto length = static_cast<std::uint32_t>(text.size());
    std::memcpy(next, &address, sizeof address);
    std::memcpy(next + sizeof address, &length, sizeof length);
    next[kInline] = kHeapMark;
  }
  // The old text goes only now: the new one may have been a part of it.
  Release();
  std::memcpy(bytes_, next, sizeof bytes_);
}

void LineText::Release() noexcept {
  if (OnHeap()) std::unique_ptr<char[]> block(HeapData());
  std::memset(bytes_, 0, sizeof bytes_);
}

LineText& LineText::append(std::string_view text) {
  std::string joined;
  joined.reserve(size() + text.size());
  joined.append(view()).append(text);
  Assign(joined);
  return *this;
}

void LineText::resize(std::size_t length) {
  std::string resized(view());
  resized.resize(length);
  Assign(resized);
}

std::ostream& operator<<(std::ostream& out, const LineText& text) { return out << text.view(); }

}  // namespace zw
