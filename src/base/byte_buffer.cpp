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

BufferSink::BufferSink(GrowableBlock& out, std::size_t expected)
    : out_(out), start_(out.size()), step_(std::max(expected, kMaxRoom)) {
  char* const data = out_.Resize(start_ + step_);
  SetWindow(data + start_, data + start_ + step_);
}

void BufferSink::TakeWindow(std::size_t count) {
  const std::size_t used = Used();
  const std::size_t room = std::max(used + count, used + std::max(step_, out_.size() / 2));
  char* const data = out_.Resize(room);
  SetWindow(data + used, data + room);
}

void BufferSink::Finish() {
  const std::size_t used = Used();
  if (out_.size() == used) return;
  char* const data = out_.Resize(used);
  SetWindow(data + used, data + used);
}

}  // namespace zw
