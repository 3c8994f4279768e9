#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "base/text_sink.h"

namespace zw {

// A block of bytes that its writer makes longer as it goes and cuts to their length at the end:
// a buffer of the heap, or memory that the system keeps once the bytes are written.
class GrowableBlock {
 public:
  virtual std::size_t size() const = 0;
  virtual char* data() = 0;
  // Makes the block `size` bytes long and returns its address; the bytes up to the smaller of
  // the two sizes stay, the new ones are not set. Throws std::bad_alloc when there is no memory
  // for a longer block; making it shorter never fails.
  virtual char* Resize(std::size_t size) = 0;

 protected:
  GrowableBlock() = default;
  GrowableBlock(const GrowableBlock&) = default;
  GrowableBlock& operator=(const GrowableBlock&) = default;
  ~GrowableBlock() = default;
};

// Bytes in one block of the heap, for texts of many megabytes: room is made without being
// filled first, where a string fills every byte of its new room with zeros, one more pass over
// memory that is written right after. Read as a string_view.
class ByteBuffer final : public GrowableBlock {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(std::string_view bytes) { append(bytes); }
  ByteBuffer(const ByteBuffer& other) : ByteBuffer(other.view()) {}
  ByteBuffer(ByteBuffer&& other) noexcept
      : GrowableBlock(),
        bytes_(std::move(other.bytes_)),
        size_(other.size_),
        capacity_(other.capacity_) {
    other.size_ = 0;
    other.capacity_ = 0;
  }
  ByteBuffer& operator=(const ByteBuffer& other);
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;

  const char* data() const { return bytes_.get(); }
  char* data() override { return bytes_.get(); }
  std::size_t size() const override { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t capacity() const { return capacity_; }
  std::string_view view() const { return std::string_view(bytes_.get(), size_); }
  std::string str() const { return std::string(view()); }

  // Room for `capacity` bytes in all; the bytes so far stay, the new room is not filled.
  void reserve(std::size_t capacity);
  // The first `size` bytes of the room (at most the capacity) are the buffer's bytes now.
  void commit(std::size_t size);
  // The buffer made `size` bytes long, growing its room to exactly that when it is smaller.
  char* Resize(std::size_t size) override {
    reserve(size);
    size_ = size;
    return data();
  }
  void append(std::string_view bytes);
  void push_back(char byte) { append(std::string_view(&byte, 1)); }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

inline bool operator==(const ByteBuffer& buffer, std::string_view bytes) {
  return buffer.view() == bytes;
}

// Appends to a block: room is made `expected` bytes at a time at first, then by half the
// block; Finish (or the destructor) cuts the block to the bytes written.
class BufferSink final : public TextSink {
 public:
  BufferSink(GrowableBlock& out, std::size_t expected);
  ~BufferSink() override { Finish(); }
  void Finish();

 private:
  void TakeWindow(std::size_t count) override;
  // The block's bytes before this sink and those written into it.
  std::size_t Used() const { return start_ + Written(); }

  GrowableBlock& out_;
  std::size_t start_;
  std::size_t step_;
};

// The bytes a writer writes into a sink, as a string of their own: for the callers that want
// a text rather than a buffer. `expected` is the room made at first.
template <class Writer>
std::string WrittenText(std::size_t expected, Writer&& write) {
  ByteBuffer buffer;
  {
    BufferSink sink(buffer, expected);
    write(sink);
  }
  return buffer.str();
}

}  // namespace zw
