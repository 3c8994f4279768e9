#include "base/byte_words.h"

#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

TEST(BytesEqual, MarksExactlyTheEqualBytesForEveryPairOfValues) {
  // Neighbouring bytes of every value must not disturb the mark: each value is tried in the
  // middle of words of each other value and of its neighbours.
  for (int wanted = 0; wanted < 256; ++wanted) {
    for (int other = 0; other < 256; ++other) {
      std::string text(8, static_cast<char>(other));
      text[3] = static_cast<char>(wanted);
      text[4] = static_cast<char>(wanted ^ 1);
      text[5] = static_cast<char>(wanted - 1);
      const std::uint64_t marks = BytesEqual(WordAt(text, 0), static_cast<char>(wanted));
      for (int at = 0; at < 8; ++at) {
        const bool marked = (marks >> (8 * at + 7)) & 1;
        ASSERT_EQ(marked, text[static_cast<std::size_t>(at)] == static_cast<char>(wanted))
            << "byte " << wanted << " among " << other << " at " << at;
      }
      ASSERT_EQ(marks & ~0x8080808080808080ULL, 0u);
    }
  }
}

TEST(WordAt, PutsTheFirstByteLowest) {
  EXPECT_EQ(WordAt("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 1), 0x0908070605040302ULL);
}

TEST(MarkedBytes, CountsTheMarks) {
  EXPECT_EQ(MarkedBytes(0), 0);
  EXPECT_EQ(MarkedBytes(0x8000000000000080ULL), 2);
  EXPECT_EQ(MarkedBytes(0x8080808080808080ULL), 8);
}

}  // namespace
}  // namespace zw
