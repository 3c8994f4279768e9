#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "texttable/field_stops.h"
#include "texttable/text_slice.h"

namespace zw {

// How a record that RecordScanner read ended.
enum class RecordEnd {
  Line,       // at a CR: the next record starts after it and its LF
  LastLine,   // at a CR followed by the end of the data: no record follows
  EndOfData,  // at a NUL or inside an unclosed quote: this is no record, and the data ends
};

// What RecordScanner tells of a record besides its fields.
struct ScannedRecord {
  RecordEnd End = RecordEnd::Line;
  std::size_t Stop = 0;  // the CR that ended the record
  bool Quoted = false;   // one of its fields begins with a quote
};

// Throws when a text is too large for the 32-bit offsets of the reader's fields.
void CheckRecordTextSize(std::string_view text);

// The record rules of the table reader. A record ends at a CR (an LF right after it belongs to
// the line break), a field at the delimiter; a field that begins with a double quote runs to its
// closing quote, so it may hold delimiters and line breaks. The text reads as if a CR and a NUL
// followed it, and a NUL ends the data. The delimiters and line ends are found a block of bytes
// at a time. Header only: the reader and the table filling run it for every record.
template <ByteBlocks kBlocks>
class RecordScanner {
 public:
  RecordScanner(std::string_view text, char delimiter)
      : text_(text),
        finder_(delimiter),
        // A NUL ends the data and a CR the record before either could end a field.
        field_delimiter_(delimiter == kEndOfData || delimiter == kLineEnd
                             ? -1
                             : static_cast<unsigned char>(delimiter)),
        // A quote as delimiter, or one that never ends a field, is read a byte at a time.
        in_blocks_(field_delimiter_ >= 0 && delimiter != kQuote) {
    CheckRecordTextSize(text);
  }

  // Reads the records from `position` on and hands their fields to the sink as slices of the
  // text, quotes included. The sink has
  //   void MakeRoom(std::size_t count);  // before up to count fields are put
  //   void Put(std::size_t start, std::size_t end);
  //   bool Ended(const ScannedRecord& record, std::size_t first);  // false stops the reading
  // and is worked on as a copy, which stays in registers, handed back at the end. After the
  // last record handed over, position is the start of the record after it; the result tells
  // how that record ended, or that the data ended before a record.
  template <class Sink>
  ScannedRecord Read(std::size_t& position, Sink& sink) const;

 private:
  static constexpr char kLineEnd = '\r';
  static constexpr char kLineFeed = '\n';
  static constexpr char kEndOfData = '\0';
  static constexpr char kQuote = '"';

  // The byte at a position of the text followed by its CR and NUL.
  char At(std::size_t at) const {
    return at < text_.size() ? text_[at] : at == text_.size() ? kLineEnd : kEndOfData;
  }

  // Reads the rest of a record a byte at a time, up to the CR or NUL that ends it, where `at`
  // then is; false when the data ends inside a quoted section.
  template <class Sink, class SkipQuoted>
  bool ReadBytes(std::size_t& at, std::size_t& field_start, Sink& fields,
                 const SkipQuoted& skip_quoted) const {
    for (;;) {
      const char c = At(at);
      if (c == kEndOfData || c == kLineEnd) return true;
      if (static_cast<unsigned char>(c) == field_delimiter_) {
        fields.MakeRoom(1);
        fields.Put(field_start, at);
        field_start = ++at;
        if (At(at) == kQuote && !skip_quoted()) return false;
        continue;
      }
      ++at;
    }
  }

  // Steps over a quoted section from its opening quote: a pair of quotes is one quote of the
  // value, the first single one closes it. False when the data ends inside: an unclosed quote
  // swallows the rest of the text, and nothing of it becomes a record.
  bool SkipQuoted(std::size_t& at) const {
    ++at;
    for (;;) {
      const char c = At(at);
      if (c == kEndOfData) return false;
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

  std::string_view text_;
  FieldStopFinder<kBlocks> finder_;
  int field_delimiter_;  // the delimiter's byte value where it ends a field, else none
  bool in_blocks_;
};

// Defined out of the class: the loop is one function of its own for each sink, whose state
// stays in registers, rather than a part of its caller.
template <ByteBlocks kBlocks>
template <class Sink>
ScannedRecord RecordScanner<kBlocks>::Read(std::size_t& position, Sink& sink) const {
  using Stops = FieldStops<kBlocks>;
  using Mask = typename Stops::Mask;
  const std::size_t size = text_.size();
  const char* const data = text_.data();
  Sink fields = sink;
  ScannedRecord record;
  std::size_t first = position;  // of the record being read
  std::size_t at = first;
  std::size_t field_start = at;
  // The stops of the block read last, from `base` on, for the lanes before block_end.
  Stops stops{};
  std::size_t base = at;
  std::size_t block_end = at;
  const auto skip_quoted = [&]() {
    record.Quoted = true;
    if (SkipQuoted(at)) return true;
    record.End = RecordEnd::EndOfData;
    return false;
  };

  for (;;) {
    if (at == field_start && At(at) == kQuote) {
      if (!skip_quoted()) return record;
      block_end = at;  // the stops from here on are found anew
    }
    std::size_t end = 0;  // the CR or NUL that ends the record
    if (at >= block_end && (!in_blocks_ || at + Stops::kWidth > size)) {
      // The last bytes of the text, fewer than a block, or a record of other delimiters.
      if (!ReadBytes(at, field_start, fields, skip_quoted)) return record;
      end = at;
    } else {
      if (at >= block_end) {
        stops = finder_.Of(data + at);
        base = at;
        block_end = at + Stops::kWidth;
      }
      // Only the lanes from `at` on belong to this record.
      const auto lanes_from = ~Mask{0} << (static_cast<int>(at - base) * Stops::kLaneBits);
      const Mask ends = stops.Ends & lanes_from;
      Mask delimiters = stops.Delimiters & lanes_from & Stops::Below(ends);
      // A field that begins with a quote ends the round: its quoted section is stepped over at
      // the top of the loop.
      const Mask quoted_starts = Stops::NextLanes(delimiters) & stops.Quotes;
      if (quoted_starts != 0) delimiters &= Stops::Below(quoted_starts);
      fields.MakeRoom(Stops::kWidth);
      for (; delimiters != 0; delimiters &= delimiters - 1) {
        const std::size_t stop = base + Stops::LaneOf(delimiters);
        fields.Put(field_start, stop);
        field_start = stop + 1;
      }
      if (quoted_starts != 0) {
        at = field_start;
        continue;
      }
      if (ends == 0) {
        at = block_end;
        continue;
      }
      end = base + Stops::LaneOf(ends);
    }
    record.Stop = end;
    if (At(end) == kEndOfData) {
      record.End = RecordEnd::EndOfData;
      return record;
    }
    // An empty line has no fields at all, not one empty field.
    if (end != first) {
      fields.MakeRoom(1);
      fields.Put(field_start, end);
    }
    record.End = At(end + 1) == kEndOfData ? RecordEnd::LastLine : RecordEnd::Line;
    // Only an LF belongs to the line break; after a lone CR the next line starts at once.
    std::size_t next = end + 1;
    if (At(next) == kLineFeed) ++next;
    if (record.End == RecordEnd::Line) position = next;
    if (!fields.Ended(record, first) || record.End == RecordEnd::LastLine) {
      sink = fields;
      return record;
    }
    first = at = field_start = next;
    record.Quoted = false;
  }
}

// A sink for RecordScanner that keeps the fields of a record as slices in a vector, which is
// kept from record to record and grows only when a record has more fields than any before.
class FieldSlots {
 public:
  explicit FieldSlots(std::vector<TextSlice>& slots)
      : slots_(&slots), data_(slots.data()), room_(slots.size()) {}

  std::size_t Count() const { return count_; }
  // One record is read at a time.
  bool Ended(const ScannedRecord&, std::size_t) { return false; }

  void MakeRoom(std::size_t count) {
    if (count > room_ - count_) {
      slots_->resize(std::max(2 * room_, count_ + count));
      data_ = slots_->data();
      room_ = slots_->size();
    }
  }
  void Put(std::size_t start, std::size_t end) {
    data_[count_++] =
        TextSlice{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
  }

 private:
  std::vector<TextSlice>* slots_;
  TextSlice* data_;
  std::size_t room_;
  std::size_t count_ = 0;
};

}  // namespace zw
