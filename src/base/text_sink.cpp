#include "base/text_sink.h"

#include <algorithm>
#include <ostream>

#include "base/errors.h"

namespace zw {
namespace {

constexpr std::size_t kStreamPiece = 64 * 1024;
constexpr std::size_t kScratch = TextSink::kMaxRoom * 4;
constexpr const char* kUnwritten = "Die Ausgabe kann nicht geschrieben werden";

}  // namespace

void TextSink::PutPiecewise(std::string_view bytes) {
  while (!bytes.empty()) {
    if (at_ == end_) TakeWindow(std::min(bytes.size(), kMaxRoom));
    const std::size_t piece = std::min(bytes.size(), static_cast<std::size_t>(end_ - at_));
    std::memcpy(at_, bytes.data(), piece);
    at_ += piece;
    bytes.remove_prefix(piece);
  }
}

CountingSink::CountingSink() : scratch_(std::make_unique<char[]>(kScratch)) {
  SetCountsOnly();
  SetWindow(scratch_.get(), scratch_.get() + kScratch);
}

void CountingSink::TakeWindow(std::size_t) { SetWindow(scratch_.get(), scratch_.get() + kScratch); }

StreamSink::StreamSink(std::ostream& out)
    : out_(out), buffer_(std::make_unique<char[]>(kStreamPiece)) {
  SetWindow(buffer_.get(), buffer_.get() + kStreamPiece);
}

void StreamSink::TakeWindow(std::size_t) {
  const std::string_view bytes = Window();
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out_) throw Error(kUnwritten);
  SetWindow(buffer_.get(), buffer_.get() + kStreamPiece);
}

void StreamSink::Finish() {
  TakeWindow(0);
  out_.flush();
  if (!out_) throw Error(kUnwritten);
}

}  // namespace zw
