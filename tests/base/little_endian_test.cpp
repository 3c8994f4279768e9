#include "base/little_endian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zw {
namespace {

struct Encoding {
  std::uint64_t value;
  std::size_t width;
  std::string bytes;
};

const std::vector<Encoding> kEncodings = {
    {0x12345678, 4, std::string("\x78\x56\x34\x12", 4)},
    {0x7F, 1, std::string("\x7F", 1)},
    {0x012C, 2, std::string("\x2C\x01", 2)},
    {0, 4, std::string("\x00\x00\x00\x00", 4)},
    {0xFFFFFFFF, 4, std::string("\xFF\xFF\xFF\xFF", 4)},
    {0x0102030405060708, 8, std::string("\x08\x07\x06\x05\x04\x03\x02\x01", 8)},
    {0x8000000000000000, 8, std::string("\x00\x00\x00\x00\x00\x00\x00\x80", 8)},
    {0xFFFFFFFFFFFFFFFF, 8, std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8)},
    {0x50, 8, std::string("\x50\x00\x00\x00\x00\x00\x00\x00", 8)},
};

TEST(LittleEndian, AppendsTheLowestByteFirst) {
  for (const Encoding& encoding : kEncodings) {
    SCOPED_TRACE(encoding.value);
    std::string out = "head";
    AppendLittleEndian(out, encoding.value, encoding.width);
    EXPECT_EQ(out, "head" + encoding.bytes);
  }
}

TEST(LittleEndian, ReadsTheBytesBackAtAnOffset) {
  for (const Encoding& encoding : kEncodings) {
    SCOPED_TRACE(encoding.value);
    const std::string stream = "ab" + encoding.bytes + "z";
    EXPECT_EQ(LittleEndianAt(stream, 2, encoding.width), encoding.value);
  }
}

TEST(LittleEndian, AppendKeepsOnlyTheLowBytesOfAWideValue) {
  std::string out;
  AppendLittleEndian(out, 0x1122334455667788, 2);
  EXPECT_EQ(out, "\x88\x77");
  // A signed 32-bit -1 as the stored form's integers carry it.
  out.clear();
  AppendLittleEndian(out, static_cast<std::uint32_t>(-1), 4);
  EXPECT_EQ(out, "\xFF\xFF\xFF\xFF");
}

TEST(LittleEndian, ReadsOnlyTheBytesAskedFor) {
  const std::string bytes("\x01\x02\x03\x04\x05", 5);
  EXPECT_EQ(LittleEndianAt(bytes, 0, 1), 0x01u);
  EXPECT_EQ(LittleEndianAt(bytes, 1, 3), 0x040302u);
  EXPECT_EQ(LittleEndianAt(bytes, 5, 0), 0u);
}

}  // namespace
}  // namespace zw
