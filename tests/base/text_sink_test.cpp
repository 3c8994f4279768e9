#include "base/text_sink.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/byte_buffer.h"
#include "base/errors.h"

namespace zw {
namespace {

// A text written in every way a writer writes: single bytes, short and long pieces (a long one
// crosses every window), and room filled through the pointer.
std::string WriteSample(TextSink& out) {
  std::string expected;
  const std::string long_piece(200000, 'L');
  for (int i = 0; i < 3000; ++i) {
    out.Put('<');
    out.Put("td>");
    char* room = out.Room(5);
    for (int k = 0; k < 5; ++k) *room++ = static_cast<char>('0' + (i + k) % 10);
    out.Advance(room);
    expected += "<td>";
    for (int k = 0; k < 5; ++k) expected += static_cast<char>('0' + (i + k) % 10);
    if (i % 1000 == 999) {
      out.Put(long_piece);
      expected += long_piece;
    }
  }
  return expected;
}

TEST(TextSink, ABufferTakesEveryByteBehindWhatItHeld) {
  for (const std::size_t expected_size : {0u, 1u, 5000u, 10000000u}) {
    ByteBuffer out(std::string_view("vorher"));
    BufferSink sink(out, expected_size);
    const std::string expected = WriteSample(sink);
    EXPECT_EQ(sink.Written(), expected.size()) << expected_size;
    sink.Finish();
    EXPECT_EQ(out.view(), "vorher" + expected) << expected_size;
  }
}

TEST(TextSink, ABufferHoldsTheBytesWrittenWhenTheSinkEnds) {
  ByteBuffer out;
  {
    BufferSink sink(out, 4096);
    sink.Put("abc");
  }
  EXPECT_EQ(out.view(), "abc");
  EXPECT_EQ(WrittenText(0, [](TextSink& sink) { sink.Put("de"); }), "de");
}

TEST(TextSink, ACountingSinkCountsWhatTheOthersWrite) {
  CountingSink counter;
  const std::string expected = WriteSample(counter);
  EXPECT_EQ(counter.Written(), expected.size());
  // A writer that knows its length only tells it.
  ASSERT_TRUE(counter.CountsOnly());
  counter.Skip(12345);
  EXPECT_EQ(counter.Written(), expected.size() + 12345);
}

TEST(TextSink, OnlyACountingSinkCountsOnly) {
  ByteBuffer buffer;
  BufferSink buffer_sink(buffer, 0);
  std::ostringstream stream;
  StreamSink stream_sink(stream);
  EXPECT_FALSE(buffer_sink.CountsOnly());
  EXPECT_FALSE(stream_sink.CountsOnly());
}

TEST(TextSink, AStreamGetsEveryByteInOrder) {
  std::ostringstream stream;
  StreamSink sink(stream);
  const std::string expected = WriteSample(sink);
  sink.Finish();
  EXPECT_EQ(stream.str(), expected);
  EXPECT_EQ(sink.Written(), expected.size());
}

TEST(TextSink, AStreamThatTakesNothingIsAnError) {
  std::ostringstream stream;
  stream.setstate(std::ios::badbit);
  StreamSink sink(stream);
  sink.Put("nichts");
  EXPECT_THROW(sink.Finish(), Error);
}

}  // namespace
}  // namespace zw
