#include "texttable/rare_entry_bytes.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <tuple>

#include "base/byte_blocks.h"
#include "base/byte_words.h"

namespace zw {

namespace {

// How far the text is searched ahead of a record at once, and how much of its start tells
// which bytes are rare.
constexpr std::size_t kStretch = 64 * 1024;
// A byte found at most once in this many bytes of the sample is rare.
constexpr std::size_t kRareOnceIn = 1024;

// The first block from `at` on, before `to`, that holds one of the first kCount bytes, at the
// position of that byte; else the first position from which no whole block is left.
template <std::size_t kCount, std::size_t kMax>
std::size_t FindBlocks(std::string_view text, const std::array<char, kMax>& bytes, std::size_t at,
                       std::size_t to) {
#ifdef ZW_SSE2
  __m128i wanted[kCount];
  for (std::size_t i = 0; i < kCount; ++i) wanted[i] = _mm_set1_epi8(bytes[i]);
  const auto hits_in = [&wanted](const char* block) {
    const __m128i bytes16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    __m128i hits = _mm_cmpeq_epi8(bytes16, wanted[0]);
    for (std::size_t i = 1; i < kCount; ++i)
      hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes16, wanted[i]));
    return hits;
  };
  // Sixty-four bytes a step, whose hits are told apart only when there are any.
  for (; at + 64 <= to; at += 64) {
    const __m128i first = _mm_or_si128(hits_in(text.data() + at), hits_in(text.data() + at + 16));
    const __m128i second =
        _mm_or_si128(hits_in(text.data() + at + 32), hits_in(text.data() + at + 48));
    if (_mm_movemask_epi8(_mm_or_si128(first, second)) != 0) break;
  }
  for (; at + 16 <= to; at += 16) {
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits_in(text.data() + at)));
    if (mask != 0) return at + static_cast<std::size_t>(std::countr_zero(mask));
  }
#else
  for (; at + 8 <= to; at += 8) {
    const std::uint64_t word = WordAt(text, at);
    std::uint64_t hits = 0;
    for (std::size_t i = 0; i < kCount; ++i) hits |= BytesEqual(word, bytes[i]);
    if (hits != 0) return at + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
  }
#endif
  return at;
}

}  // namespace

RareEntryBytes::RareEntryBytes(std::string_view text, const std::vector<std::string>& entries)
    : text_(text) {
  ChooseBytes(text, entries);
}

void RareEntryBytes::ChooseBytes(std::string_view text, const std::vector<std::string>& entries) {
  const std::string_view sample = text.substr(0, kStretch);
  // Counted in four tables, so that a run of equal bytes does not wait on one counter.
  std::array<std::array<std::uint32_t, 256>, 4> partial{};
  std::size_t at = 0;
  for (; at + 4 <= sample.size(); at += 4) {
    for (std::size_t lane = 0; lane < 4; ++lane)
      ++partial[lane][static_cast<unsigned char>(sample[at + lane])];
  }
  for (; at < sample.size(); ++at) ++partial[0][static_cast<unsigned char>(sample[at])];
  std::array<std::size_t, 256> counts{};
  for (std::size_t byte = 0; byte < 256; ++byte)
    counts[byte] = partial[0][byte] + partial[1][byte] + partial[2][byte] + partial[3][byte];
  const std::size_t rare = sample.size() / kRareOnceIn;

  // The bytes of each entry; an empty entry matches nothing and needs no byte. Only the bytes
  // some entry holds are candidates, in ascending order, which decides between equals.
  std::vector<std::array<bool, 256>> uncovered;
  std::array<bool, 256> held{};
  for (const std::string& entry : entries) {
    if (entry.empty()) continue;
    std::array<bool, 256>& holds = uncovered.emplace_back();
    for (const char c : entry) {
      holds[static_cast<unsigned char>(c)] = true;
      held[static_cast<unsigned char>(c)] = true;
    }
  }
  std::vector<unsigned char> candidates;
  for (std::size_t byte = 0; byte < 256; ++byte) {
    if (held[byte]) candidates.push_back(static_cast<unsigned char>(byte));
  }
  // Greedily: the rare byte that most of the entries not yet covered hold, fewer occurrences
  // first; without one, the least frequent byte of any of them.
  while (!uncovered.empty()) {
    if (byte_count_ == kMaxBytes) {
      always_ = true;
      return;
    }
    std::size_t best = 0;
    std::tuple<bool, std::size_t, std::size_t> best_rank{true, 0, 0};
    bool found = false;
    for (const unsigned char byte : candidates) {
      const auto covered = static_cast<std::size_t>(std::count_if(
          uncovered.begin(), uncovered.end(), [byte](const auto& holds) { return holds[byte]; }));
      if (covered == 0) continue;
      const bool frequent = counts[byte] > rare;
      const std::tuple<bool, std::size_t, std::size_t> rank{
          frequent, frequent ? 0 : uncovered.size() - covered, counts[byte]};
      if (!found || rank < best_rank) {
        best = byte;
        best_rank = rank;
        found = true;
      }
    }
    bytes_[byte_count_++] = static_cast<char>(best);
    chosen_[best] = true;
    std::erase_if(uncovered, [best](const auto& holds) { return holds[best]; });
  }
}

bool RareEntryBytes::SearchFor(std::size_t begin, std::size_t end) {
  if (always_) return true;
  if (byte_count_ == 0) return false;
  // Start over where the stretch searched last says nothing of the record.
  if (begin < from_ || begin > found_) from_ = found_ = until_ = begin;
  while (found_ == until_ && until_ < end) {
    const std::size_t to = std::min(text_.size(), std::max(end, until_ + kStretch));
    found_ = Find(until_, to);
    until_ = to;
  }
  return found_ < end;
}

std::size_t RareEntryBytes::Find(std::size_t from, std::size_t to) const {
  // The bytes are compared in a loop of a fixed length, which keeps them in registers: two,
  // four or eight of them, the first repeated in the places left over.
  std::array<char, kMaxBytes> bytes;
  bytes.fill(bytes_[0]);
  std::copy_n(bytes_.begin(), byte_count_, bytes.begin());
  std::size_t at = from;
  if (byte_count_ <= 2) {
    at = FindBlocks<2>(text_, bytes, at, to);
  } else if (byte_count_ <= 4) {
    at = FindBlocks<4>(text_, bytes, at, to);
  } else {
    at = FindBlocks<kMaxBytes>(text_, bytes, at, to);
  }
  while (at < to && !chosen_[static_cast<unsigned char>(text_[at])]) ++at;
  return at;
}

}  // namespace zw
