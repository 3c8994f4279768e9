#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "base/byte_blocks.h"
#include "base/byte_words.h"

namespace zw {

// How bytes of a text are compared: eight at once with integer steps anywhere, or sixteen at
// once where the processor compares sixteen in one step.
enum class ByteBlocks { Words, Sse2 };
#ifdef ZW_SSE2
inline constexpr ByteBlocks kNativeBlocks = ByteBlocks::Sse2;
#else
inline constexpr ByteBlocks kNativeBlocks = ByteBlocks::Words;
#endif

// The bytes of one block of a text that matter to the record reader, as masks with one lane per
// byte, the block's first byte in the lowest lane: a word of eight bytes, or two times sixteen
// bytes, whose masks fill 32 bits. Header only: it is the reader's inner loop.
template <ByteBlocks kBlocks>
struct FieldStops {
  static constexpr bool kSse2 = kBlocks == ByteBlocks::Sse2;
  static constexpr std::size_t kWidth = kSse2 ? 32 : 8;
  // One bit per byte from a 16-byte comparison, the top bit of each byte from a word.
  static constexpr int kLaneBits = kSse2 ? 1 : 8;
  using Mask = std::conditional_t<kSse2, std::uint32_t, std::uint64_t>;

  Mask Delimiters;  // the delimiter
  Mask Ends;        // CR and NUL: the end of a record or of the data
  Mask Quotes;      // the double quote

  // The lane of the lowest marked byte of a mask that is not zero.
  static std::size_t LaneOf(Mask marks) {
    return static_cast<unsigned>(std::countr_zero(marks)) / kLaneBits;
  }
  // The lanes below the lowest marked one; all lanes when none is marked.
  static Mask Below(Mask marks) { return marks == 0 ? ~Mask{0} : (marks & (0 - marks)) - 1; }
  // Each marked lane moved one byte on; the last lane's mark drops out.
  static Mask NextLanes(Mask marks) { return marks << kLaneBits; }
};

// Finds the FieldStops of a block, the bytes it looks for prepared once.
template <ByteBlocks kBlocks>
class FieldStopFinder;

template <>
class FieldStopFinder<ByteBlocks::Words> {
 public:
  using Stops = FieldStops<ByteBlocks::Words>;
  explicit FieldStopFinder(char delimiter) : delimiter_(delimiter) {}
  // The stops of the Stops::kWidth bytes at `block`.
  Stops Of(const char* block) const {
    const std::uint64_t word = WordAt(std::string_view(block, Stops::kWidth), 0);
    return {BytesEqual(word, delimiter_), BytesEqual(word, '\r') | BytesEqual(word, '\0'),
            BytesEqual(word, '"')};
  }

 private:
  char delimiter_;
};

#ifdef ZW_SSE2
template <>
class FieldStopFinder<ByteBlocks::Sse2> {
 public:
  using Stops = FieldStops<ByteBlocks::Sse2>;
  explicit FieldStopFinder(char delimiter)
      : delimiters_(_mm_set1_epi8(delimiter)),
        line_ends_(_mm_set1_epi8('\r')),
        quotes_(_mm_set1_epi8('"')) {}
  Stops Of(const char* block) const {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16));
    return {Lanes(_mm_cmpeq_epi8(low, delimiters_), _mm_cmpeq_epi8(high, delimiters_)),
            Lanes(Ends(low), Ends(high)),
            Lanes(_mm_cmpeq_epi8(low, quotes_), _mm_cmpeq_epi8(high, quotes_))};
  }

 private:
  __m128i Ends(__m128i bytes) const {
    return _mm_or_si128(_mm_cmpeq_epi8(bytes, line_ends_),
                        _mm_cmpeq_epi8(bytes, _mm_setzero_si128()));
  }
  static Stops::Mask Lanes(__m128i low, __m128i high) {
    return static_cast<Stops::Mask>(_mm_movemask_epi8(low)) |
           static_cast<Stops::Mask>(_mm_movemask_epi8(high)) << 16;
  }

  __m128i delimiters_;
  __m128i line_ends_;
  __m128i quotes_;
};
#endif

}  // namespace zw
