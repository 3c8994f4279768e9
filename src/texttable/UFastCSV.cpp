#include "texttable/UFastCSV.h"

#include <bit>
#include <limits>

#include "base/byte_blocks.h"
#include "base/byte_words.h"
#include "base/errors.h"

namespace zw {

namespace {

constexpr char kLineEnd = '\r';
constexpr char kLineFeed = '\n';
constexpr char kEndOfData = '\0';
constexpr std::size_t kInitialSlots = 100;

}  // namespace

TCSVReader::TCSVReader(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {
  if (text.size() >= std::numeric_limits<std::uint32_t>::max() - 2) {
    throw Error("Der Text ist zu gro\xDF");
  }
  // The CR that the text reads as followed by ends a last line that has no line break; the NUL
  // after it stops every scan.
  fields_.resize(kInitialSlots);
  stops_[static_cast<unsigned char>(kEndOfData)] = true;
  stops_[static_cast<unsigned char>(kLineEnd)] = true;
  stops_[static_cast<unsigned char>(delimiter_)] = true;
}

// Inline in the record loop, which calls it for every field.
inline std::size_t TCSVReader::NextStop(std::size_t at) const {
  const std::size_t size = text_.size();
#ifdef ZW_SSE2
  // Sixteen bytes at a time where the processor compares sixteen at once.
  const __m128i delimiters = _mm_set1_epi8(delimiter_);
  const __m128i line_ends = _mm_set1_epi8(kLineEnd);
  const __m128i zero = _mm_setzero_si128();
  for (; at + 16 <= size; at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text_.data() + at));
    const unsigned stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(block, delimiters), _mm_cmpeq_epi8(block, line_ends)),
        _mm_cmpeq_epi8(block, zero))));
    if (stops != 0) return at + static_cast<std::size_t>(std::countr_zero(stops));
  }
#endif
  // Eight bytes at a time; BytesEqual marks exactly the stops, the first in the lowest bits.
  for (; at + 8 <= size; at += 8) {
    const std::uint64_t word = WordAt(text_, at);
    const std::uint64_t stops =
        BytesEqual(word, delimiter_) | BytesEqual(word, kLineEnd) | BytesEqual(word, kEndOfData);
    if (stops != 0) return at + static_cast<std::size_t>(std::countr_zero(stops)) / 8;
  }
  const char* const data = text_.data();
  while (at < size && !stops_[static_cast<unsigned char>(data[at])]) ++at;
  return at;
}

void TCSVReader::First() {
  position_ = 0;
  last_record_read_ = false;
  eof_ = false;
  ReadRecord();
}

void TCSVReader::Next() { ReadRecord(); }

void TCSVReader::ReadRecord() {
  if (eof_) throw Error("Try to read past eof");
  field_count_ = 0;
  quoted_ = false;
  if (last_record_read_) {
    eof_ = true;
    return;
  }
  std::size_t at = position_;
  std::size_t field_start = at;
  if (At(at) == kQuote && !SkipQuotedField(at)) return;
  for (;;) {
    at = NextStop(at);
    const char c = At(at);
    if (c == kEndOfData) {
      eof_ = true;
      field_count_ = 0;
      return;
    }
    if (c == kLineEnd) {
      // An empty line has no fields at all, not one empty field.
      if (at != position_) StoreField(field_start, at);
      if (At(at + 1) == kEndOfData) {
        last_record_read_ = true;
      } else {
        // Only an LF belongs to the line break; after a lone CR the next line starts at once.
        position_ = at + 1;
        if (At(position_) == kLineFeed) ++position_;
      }
      return;
    }
    if (c == delimiter_) {
      StoreField(field_start, at);
      ++at;
      if (At(at) == kEndOfData) {
        eof_ = true;
        field_count_ = 0;
        return;
      }
      field_start = at;
      if (At(at) == kQuote && !SkipQuotedField(at)) return;
      continue;
    }
    ++at;
  }
}

bool TCSVReader::SkipQuotedField(std::size_t& at) {
  quoted_ = true;
  return SkipQuoted(at);
}

bool TCSVReader::SkipQuoted(std::size_t& at) {
  ++at;
  for (;;) {
    const char c = At(at);
    if (c == kEndOfData) {
      // An unclosed quote swallows the rest of the text; nothing of it becomes a record.
      eof_ = true;
      field_count_ = 0;
      return false;
    }
    if (c == kQuote) {
      if (At(at + 1) != kQuote) {
        ++at;
        return true;
      }
      at += 2;
    } else {
      ++at;
    }
  }
}

std::string_view TCSVReader::UnquotedField(int index, std::string& scratch) const {
  scratch.clear();
  AppendField(index, scratch);
  return scratch;
}

std::string_view TCSVReader::RecordSpan(bool& quoted) const {
  quoted = false;
  if (field_count_ == 0) return {};
  quoted = quoted_;
  const FieldSlot& first = fields_.front();
  const FieldSlot& last = fields_[static_cast<std::size_t>(field_count_ - 1)];
  return text_.substr(first.Start, last.Start + last.Length - first.Start);
}

std::string TCSVReader::Fields(int index) const {
  std::string value;
  AppendField(index, value);
  return value;
}

void TCSVReader::AppendField(int index, std::string& out) const {
  if (index < 0 || index >= field_count_) return;
  const FieldSlot& slot = fields_[static_cast<std::size_t>(index)];
  if (slot.Length == 0) return;
  const std::string_view field = text_.substr(slot.Start, slot.Length);
  if (field.front() != kQuote) {
    out.append(field);
    return;
  }
  if (field.size() < 2) return;
  // Only the first and the last character go, whatever the last one is; text after the
  // closing quote therefore stays except for its final character.
  const std::string_view inner = field.substr(1, field.size() - 2);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    out.push_back(inner[i]);
    if (inner[i] == kQuote && i + 1 < inner.size() && inner[i + 1] == kQuote) ++i;
  }
}

}  // namespace zw
