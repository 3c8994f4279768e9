#pragma once

#include <cstddef>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "base/byte_copy.h"

// Where a writer puts the bytes it makes: a window of room that the writer fills through a
// pointer and that the sink renews when it is full. So one writer fills a buffer, a stream in
// pieces of a fixed size, or only counts its bytes, with one comparison per piece it writes.
namespace zw {

class TextSink {
 public:
  // The most room a writer asks for at once.
  static constexpr std::size_t kMaxRoom = 1024;

  TextSink() = default;
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;
  virtual ~TextSink() = default;

  void Put(char byte) {
    if (at_ == end_) TakeWindow(1);
    *at_++ = byte;
  }
  void Put(std::string_view bytes) {
    if (bytes.size() <= static_cast<std::size_t>(end_ - at_)) {
      CopyBytes(at_, bytes.data(), bytes.size());
      at_ += bytes.size();
      return;
    }
    PutPiecewise(bytes);
  }
  // Room for `count` bytes (at most kMaxRoom) at the returned place; the writer hands back the
  // end of what it wrote there with Advance.
  char* Room(std::size_t count) {
    if (count > static_cast<std::size_t>(end_ - at_)) TakeWindow(count);
    return at_;
  }
  void Advance(char* end) { at_ = end; }

  // Every byte written so far.
  std::size_t Written() const { return taken_ + static_cast<std::size_t>(at_ - begin_); }

  // A sink that only counts: a writer that knows how many bytes it would write may then tell
  // it so with Skip instead of writing them.
  bool CountsOnly() const { return counts_only_; }
  void Skip(std::size_t count) { taken_ += count; }

 protected:
  void SetCountsOnly() { counts_only_ = true; }
  // The bytes written into the current window.
  std::string_view Window() const {
    return std::string_view(begin_, static_cast<std::size_t>(at_ - begin_));
  }
  // The bytes of the old window count as written.
  void SetWindow(char* begin, char* end) {
    taken_ += static_cast<std::size_t>(at_ - begin_);
    begin_ = begin;
    at_ = begin;
    end_ = end;
  }

 private:
  // Takes the window's bytes and sets a new window of at least `count` bytes.
  virtual void TakeWindow(std::size_t count) = 0;
  void PutPiecewise(std::string_view bytes);

  char* begin_ = nullptr;
  char* at_ = nullptr;
  char* end_ = nullptr;
  std::size_t taken_ = 0;  // the bytes of earlier windows
  bool counts_only_ = false;
};

// Only counts the bytes: for a text whose length must be known before it is written.
class CountingSink final : public TextSink {
 public:
  CountingSink();

 private:
  void TakeWindow(std::size_t count) override;

  std::unique_ptr<char[]> scratch_;
};

// Writes to a stream in pieces of 64 KiB, so a long text is never held whole. Finish writes the
// rest and fails with an error when the stream could not take every byte.
class StreamSink final : public TextSink {
 public:
  explicit StreamSink(std::ostream& out);
  void Finish();

 private:
  void TakeWindow(std::size_t count) override;

  std::ostream& out_;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace zw
