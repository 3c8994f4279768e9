#include "base/byte_buffer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace zw {

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other) {
  if (this != &other) {
    ByteBuffer copy(other);
    *this = std::move(copy);
  }
  return *this;
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  bytes_ = std::move(other.bytes_);
  size_ = std::exchange(other.size_, 0);
  capacity_ = std::exchange(other.capacity_, 0);
  return *this;
}

void ByteBuffer::reserve(std::size_t capacity) {
  if (capacity <= capacity_) return;
  auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ != 0) std::memcpy(bytes.get(), bytes_.get(), size_);
  bytes_ = std::move(bytes);
  capacity_ = capacity;
}

void ByteBuffer::commit(std::size_t size) {
  if (size > capacity_) throw std::length_error("byte buffer committed beyond its room");
  size_ = size;
}

void ByteBuffer::append(std::string_view bytes) {
  if (bytes.empty()) return;
  if (bytes.size() > capacity_ - size_) reserve(std::max(size_ + bytes.size(), 2 * capacity_));
  std::memcpy(bytes_.get() + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

BufferSink::BufferSink(ByteBuffer& out, std::size_t expected)
    : out_(out), step_(std::max(expected, kMaxRoom)) {
  out_.reserve(out_.size() + step_);
  SetWindow(out_.data() + out_.size(), out_.data() + out_.capacity());
}

void BufferSink::TakeWindow(std::size_t count) {
  Finish();
  const std::size_t used = out_.size();
  out_.reserve(std::max(used + count, used + std::max(step_, out_.capacity() / 2)));
  SetWindow(out_.data() + used, out_.data() + out_.capacity());
}

void BufferSink::Finish() {
  // The window begins behind the buffer's bytes, so what was written there extends them.
  const std::size_t used =
      static_cast<std::size_t>(Window().data() - out_.data()) + Window().size();
  out_.commit(used);
  SetWindow(out_.data() + used, out_.data() + out_.capacity());
}

}  // namespace zw
