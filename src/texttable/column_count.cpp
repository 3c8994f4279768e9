#include "texttable/column_count.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "base/byte_blocks.h"
#include "base/byte_words.h"

namespace zw {

namespace {

constexpr std::size_t kMaxColumns = 30;  // the names A to ^ run out after 30

// Any CR or LF ends a line, so neither is ever a delimiter within one.
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Once a line reaches the cap the rest of the text cannot change the count.
bool ReachesCap(std::size_t delimiters) { return delimiters + 1 >= kMaxColumns; }

int ColumnsOf(std::size_t widest) {
  if (widest == 0) return 0;
  return static_cast<int>(std::min<std::size_t>(widest + 1, kMaxColumns));
}

// The bytes from `at` on, one at a time, continuing a line of `in_line` delimiters.
int CountRest(std::string_view text, std::size_t at, char delimiter, std::size_t widest,
              std::size_t in_line) {
  for (; at < text.size(); ++at) {
    const char c = text[at];
    in_line += c == delimiter;
    if (IsLineBreak(c)) {
      widest = std::max(widest, in_line);
      in_line = 0;
    }
  }
  return ColumnsOf(std::max(widest, in_line));
}

#ifdef ZW_SSE2
// Thirty-two bytes at a time. The delimiters of the current line are added up per byte lane and
// summed once per line, so that a block without a break costs a handful of instructions; the
// part of a block before a break is picked by a mask of the lanes below it, so that no bits are
// counted one by one.
int CountColumnsBySse2(std::string_view text, char delimiter) {
  // 0xFF in the first 32 bytes, 0 after them: sixteen bytes from 32 - k on are 0xFF in the
  // lanes below k.
  static constexpr auto kRamp = [] {
    std::array<std::uint8_t, 64> ramp{};
    for (std::size_t i = 0; i < 32; ++i) ramp[i] = 0xFF;
    return ramp;
  }();
  struct Lanes {
    __m128i Low;
    __m128i High;
  };
  const auto below = [](unsigned lane) {
    const std::uint8_t* const at = kRamp.data() + 32 - lane;
    return Lanes{_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)),
                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16))};
  };
  const __m128i delimiters = _mm_set1_epi8(delimiter);
  const __m128i carriage_returns = _mm_set1_epi8('\r');
  const __m128i line_feeds = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  const auto lane_sum = [&zero](__m128i counts) {
    const __m128i sums = _mm_sad_epu8(counts, zero);
    return static_cast<std::size_t>(_mm_cvtsi128_si32(sums) +
                                    _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  };

  std::size_t widest = 0;
  std::size_t in_line = 0;   // delimiters of the current line summed so far
  __m128i counts = zero;     // and those not yet summed, per lane
  int blocks_in_counts = 0;  // a lane holds at most 255, two more a block
  std::size_t at = 0;
  for (; at + 32 <= text.size(); at += 32) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at + 16));
    // A match is 0xFF, so subtracting it counts one.
    const __m128i matches_low = _mm_cmpeq_epi8(low, delimiters);
    const __m128i matches_high = _mm_cmpeq_epi8(high, delimiters);
    const __m128i breaks_low =
        _mm_or_si128(_mm_cmpeq_epi8(low, carriage_returns), _mm_cmpeq_epi8(low, line_feeds));
    const __m128i breaks_high =
        _mm_or_si128(_mm_cmpeq_epi8(high, carriage_returns), _mm_cmpeq_epi8(high, line_feeds));
    unsigned breaks = static_cast<unsigned>(_mm_movemask_epi8(breaks_low)) |
                      static_cast<unsigned>(_mm_movemask_epi8(breaks_high)) << 16;
    if (breaks == 0) {
      counts = _mm_sub_epi8(_mm_sub_epi8(counts, matches_low), matches_high);
      if (++blocks_in_counts == 127) {
        in_line += lane_sum(counts);
        if (ReachesCap(in_line)) return static_cast<int>(kMaxColumns);
        counts = zero;
        blocks_in_counts = 0;
      }
      continue;
    }
    // A break right after a break only ends an empty line, whose count changes nothing: the
    // LF of a CR LF is one of them.
    breaks &= ~(breaks << 1);
    Lanes taken{zero, zero};  // the lanes of lines that have ended
    do {
      // The matches before the break close the line; those after it belong to the next.
      const Lanes before = below(static_cast<unsigned>(std::countr_zero(breaks)));
      counts =
          _mm_sub_epi8(counts, _mm_andnot_si128(taken.Low, _mm_and_si128(before.Low, matches_low)));
      counts = _mm_sub_epi8(counts,
                            _mm_andnot_si128(taken.High, _mm_and_si128(before.High, matches_high)));
      widest = std::max(widest, in_line + lane_sum(counts));
      if (ReachesCap(widest)) return static_cast<int>(kMaxColumns);
      in_line = 0;
      counts = zero;
      taken = before;
      breaks &= breaks - 1;
    } while (breaks != 0);
    counts = _mm_sub_epi8(_mm_sub_epi8(zero, _mm_andnot_si128(taken.Low, matches_low)),
                          _mm_andnot_si128(taken.High, matches_high));
    blocks_in_counts = 1;
  }
  return CountRest(text, at, delimiter, widest, in_line + lane_sum(counts));
}
#endif

}  // namespace

int CountColumnsByWords(std::string_view text, char delimiter) {
  if (IsLineBreak(delimiter)) return 0;
  // The delimiters before each line break in the word close a line.
  constexpr std::size_t kCheckEvery = 64 * 1024;
  std::size_t widest = 0;
  std::size_t in_line = 0;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    const std::uint64_t word = WordAt(text, at);
    std::uint64_t delimiters = BytesEqual(word, delimiter);
    std::uint64_t breaks = BytesEqual(word, '\r') | BytesEqual(word, '\n');
    while (breaks != 0) {
      const std::uint64_t before = (breaks & (0 - breaks)) - 1;
      in_line += static_cast<std::size_t>(MarkedBytes(delimiters & before));
      widest = std::max(widest, in_line);
      in_line = 0;
      delimiters &= ~before;
      breaks &= breaks - 1;
    }
    in_line += static_cast<std::size_t>(MarkedBytes(delimiters));
    if (at % kCheckEvery == 0 && ReachesCap(std::max(widest, in_line)))
      return static_cast<int>(kMaxColumns);
  }
  return CountRest(text, at, delimiter, widest, in_line);
}

int CountColumns(std::string_view text, char delimiter) {
#ifdef ZW_SSE2
  if (IsLineBreak(delimiter)) return 0;
  return CountColumnsBySse2(text, delimiter);
#else
  return CountColumnsByWords(text, delimiter);
#endif
}

}  // namespace zw
