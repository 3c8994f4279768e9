#include "orderlines/component_stream.h"

#include "base/byte_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

// The string is given room for what it was told to expect; writing more, behind bytes that were
// there before, must keep every byte.
TEST(ComponentStreamWriter, WritesBeyondTheRoomItExpectedBehindTheBytesBefore) {
  for (const std::size_t expected : {0u, 1u, 7u, 4096u}) {
    ByteBuffer out(std::string_view("vorher"));
    BufferSink sink(out, expected);
    ComponentStreamWriter writer(sink);
    writer.Signature();
    writer.ShortText("Pos");
    writer.Text(std::string(300, 'x'));
    writer.Integer(-129);
    writer.Boolean(true);
    writer.EndOfList();
    sink.Finish();
    const std::string expected_bytes = std::string("vorherTPF0\x03Pos\x0C", 15) +
                                       std::string("\x2C\x01\x00\x00", 4) + std::string(300, 'x') +
                                       std::string("\x03\x7F\xFF\x09\x00", 5);
    EXPECT_EQ(out.view(), expected_bytes) << expected;
  }
}

}  // namespace
}  // namespace zw
