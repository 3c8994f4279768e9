#include "texttable/table_room.h"

#include <algorithm>
#include <cstdint>

#include "base/byte_blocks.h"
#include "base/byte_words.h"

namespace zw {

namespace {

// How often the count of line ends is compared with the limit: a stretch of this many bytes is
// all that is counted beyond it. 255 blocks of sixteen bytes, so that no lane's count wraps.
constexpr std::size_t kCheckEvery = 4080;

TableRoom RoomOf(std::size_t line_ends, std::size_t delimiters, std::size_t end, int column_count) {
  const std::size_t rows = line_ends + 1;
  const auto columns = static_cast<std::size_t>(column_count);
  // The last record may have more fields beyond the end of the count.
  return {rows, std::min(rows * columns, delimiters + rows + columns), end};
}

// Line ends and delimiters in [at, end), a block at a time; end - at is at most kCheckEvery.
template <ByteBlocks kBlocks>
std::size_t CountBlocks(std::string_view text, std::size_t& at, std::size_t end, char delimiter,
                        std::size_t& delimiters) {
  std::size_t line_ends = 0;
  if constexpr (kBlocks == ByteBlocks::Sse2) {
#ifdef ZW_SSE2
    // Per lane: a match is 0xFF, so subtracting it counts one; 255 blocks fill a lane at most.
    const __m128i line_end = _mm_set1_epi8('\r');
    const __m128i delimiter_byte = _mm_set1_epi8(delimiter);
    __m128i ends_per_lane = _mm_setzero_si128();
    __m128i delimiters_per_lane = _mm_setzero_si128();
    const char* const data = text.data();
    std::size_t i = at;
    const auto count = [&](const __m128i block) {
      ends_per_lane = _mm_sub_epi8(ends_per_lane, _mm_cmpeq_epi8(block, line_end));
      delimiters_per_lane =
          _mm_sub_epi8(delimiters_per_lane, _mm_cmpeq_epi8(block, delimiter_byte));
    };
    for (; i + 32 <= end; i += 32) {
      count(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)));
      count(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 16)));
    }
    for (; i + 16 <= end; i += 16)
      count(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)));
    at = i;
    const auto lane_sum = [](__m128i counts) {
      const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
      return static_cast<std::size_t>(_mm_cvtsi128_si32(sums) +
                                      _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    };
    line_ends += lane_sum(ends_per_lane);
    delimiters += lane_sum(delimiters_per_lane);
#else
    static_assert(kBlocks != ByteBlocks::Sse2, "sixteen bytes at once need SSE2");
#endif
  } else {
    for (; at + 8 <= end; at += 8) {
      const std::uint64_t word = WordAt(text, at);
      line_ends += static_cast<std::size_t>(MarkedBytes(BytesEqual(word, '\r')));
      delimiters += static_cast<std::size_t>(MarkedBytes(BytesEqual(word, delimiter)));
    }
  }
  for (; at < end; ++at) {
    line_ends += text[at] == '\r';
    delimiters += text[at] == delimiter;
  }
  return line_ends;
}

}  // namespace

template <ByteBlocks kBlocks>
TableRoom CountTableRoom(std::string_view text, std::size_t from, char delimiter, int column_count,
                         std::size_t max_rows) {
  std::size_t line_ends = 0;
  std::size_t delimiters = 0;
  std::size_t at = std::min(from, text.size());
  while (at < text.size() && line_ends < max_rows) {
    const std::size_t end = std::min(text.size(), at + kCheckEvery);
    line_ends += CountBlocks<kBlocks>(text, at, end, delimiter, delimiters);
  }
  return RoomOf(line_ends, delimiters, at, column_count);
}

template TableRoom CountTableRoom<ByteBlocks::Words>(std::string_view, std::size_t, char, int,
                                                     std::size_t);
#ifdef ZW_SSE2
template TableRoom CountTableRoom<ByteBlocks::Sse2>(std::string_view, std::size_t, char, int,
                                                    std::size_t);
#endif

}  // namespace zw
