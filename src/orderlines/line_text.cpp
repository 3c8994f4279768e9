#include "orderlines/line_text.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "base/byte_copy.h"

namespace zw {

static_assert(sizeof(std::uint64_t) >= sizeof(char*), "a block address must fit the word");

char* LineTextStore::AllocateInNewBlock(std::size_t size) {
  const std::size_t rounded = (size + 3) & ~static_cast<std::size_t>(3);
  if (rounded < size) throw std::length_error("text too long for the store");
  // A large text gets a block of its own, and the current block keeps filling.
  if (rounded > next_block_size_ / 4) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(rounded));
    return blocks_.back().get();
  }
  blocks_.push_back(std::make_unique_for_overwrite<char[]>(next_block_size_));
  free_ = blocks_.back().get();
  left_ = next_block_size_;
  next_block_size_ = std::min(2 * next_block_size_, kBlockSize);
  char* const room = free_;
  free_ += rounded;
  left_ -= rounded;
  return room;
}

void LineTextStore::Clear() noexcept {
  blocks_.clear();
  free_ = nullptr;
  left_ = 0;
  next_block_size_ = kFirstBlockSize;
}

LineText::LineText(LineText&& other) { TakeFrom(other); }

LineText& LineText::operator=(const LineText& other) {
  if (this != &other) Assign(other);
  return *this;
}

LineText& LineText::operator=(LineText&& other) {
  if (this != &other) {
    Release();
    TakeFrom(other);
  }
  return *this;
}

void LineText::TakeFrom(LineText& other) {
  if (other.IsStored()) {
    Assign(other);
  } else {
    word_ = other.word_;
  }
  // Its block, if any, is this text's now or stays with the store.
  other.word_ = kEmpty;
}

std::uint64_t LineText::InlineWord(std::string_view text) noexcept {
  unsigned char bytes[sizeof(std::uint64_t)] = {};
  // An empty view may have no data at all, which memcpy must not be given.
  if (!text.empty()) std::memcpy(bytes + kInlineStart, text.data(), text.size());
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word | (static_cast<std::uint64_t>(text.size()) << 1) | 1;
}

namespace {

// Writes the length and the bytes of a text into a block of four more bytes than the text.
void FillBlock(char* block, std::string_view text) {
  const auto length = static_cast<std::uint32_t>(text.size());
  std::memcpy(block, &length, sizeof length);
  CopyBytes(block + sizeof length, text.data(), text.size());
}

}  // namespace

void LineText::Assign(std::string_view text) { Set(text, nullptr); }

void LineText::AssignStored(std::string_view text, LineTextStore& store) { Set(text, &store); }

void LineText::Set(std::string_view text, LineTextStore* store) {
  std::uint64_t next = 0;
  if (text.size() <= kInline) {
    next = InlineWord(text);
  } else {
    if (text.size() > std::numeric_limits<std::uint32_t>::max() - sizeof(std::uint32_t)) {
      throw std::length_error("text too long for an order line");
    }
    const std::size_t size = sizeof(std::uint32_t) + text.size();
    if (store != nullptr) {
      char* const block = store->Allocate(size);
      FillBlock(block, text);
      next = reinterpret_cast<std::uint64_t>(block) | kStoredMark;
    } else {
      // The block is this text's owner from here until Release hands it back to a unique_ptr.
      // operator new aligns it to at least eight bytes.
      auto block = std::make_unique_for_overwrite<char[]>(size);
      FillBlock(block.get(), text);
      next = reinterpret_cast<std::uint64_t>(block.get());
      if ((next & 3) != 0) throw std::logic_error("misaligned text block");
      block.release();
    }
  }
  // The old text goes only now: the new one may have been a part of it.
  Release();
  word_ = next;
}

void LineText::FreeBlock() noexcept { std::unique_ptr<char[]> block(const_cast<char*>(Block())); }

void LineText::Release() noexcept {
  if (!IsInline() && !IsStored()) FreeBlock();
  word_ = kEmpty;
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
