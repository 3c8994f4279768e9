#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "texttable/field_stops.h"
#include "texttable/record_fields.h"
#include "texttable/text_slice.h"

namespace zw {

// Reads delimiter-separated records from a text. Records end at CR (an LF right after it is
// skipped); a field that starts with a double quote runs to the matching closing quote, so it
// may contain delimiters and line breaks. The text reads as if a CR and a NUL followed it, and
// a NUL ends the data (RecordScanner has the rules). Fields are kept as slices of the text and
// turned into text only when asked for; the reader makes no copy, so the text must outlive it.
class TCSVReader {
 public:
  TCSVReader(std::string_view text, char delimiter);
  // The same reader comparing the given number of bytes at once: the tests read with each.
  TCSVReader(std::string_view text, char delimiter, ByteBlocks blocks);
  // A temporary string would be gone before the first read.
  template <class Text, std::enable_if_t<std::is_same_v<Text, std::string>, int> = 0>
  TCSVReader(Text&& text, char delimiter) = delete;

  // Goes back to the start and reads the first record.
  void First();
  // Reads the next record. Throws Error("Try to read past eof") after the end was reported.
  void Next();
  // The end of the data was reached; the current record is then not valid.
  bool Eof() const { return eof_; }

  char Delimiter() const { return delimiter_; }
  int FieldCount() const { return field_count_; }
  // The field's value with its quotes removed; "" beyond the field count.
  std::string Fields(int index) const;
  // Appends the same value to out, so that callers can reuse one buffer.
  void AppendField(int index, std::string& out) const;
  // The same value without a copy where it can be: a view into the text for a field without
  // quotes, else the unquoted value written into scratch. Valid until the next read.
  std::string_view FieldView(int index, std::string& scratch) const {
    if (index < 0 || index >= field_count_) return {};
    return Record().Value(static_cast<std::size_t>(index), scratch);
  }
  // The current record's bytes from the start of its first field to the end of its last one,
  // delimiters included; quoted tells whether any field begins with a quote.
  std::string_view RecordSpan(bool& quoted) const {
    const RecordFields record = Record();
    quoted = record.Quoted;
    return record.Span();
  }
  // The current record's fields as slices of the text. Valid until the next read.
  RecordFields Record() const {
    return {text_, fields_.data(), static_cast<std::size_t>(field_count_),
            field_count_ > 0 && quoted_, delimiter_};
  }

 private:
  template <ByteBlocks kBlocks>
  void ReadRecord();

  std::string_view text_;
  std::size_t position_ = 0;
  char delimiter_;
  ByteBlocks blocks_;
  bool last_record_read_ = false;
  bool eof_ = false;
  int field_count_ = 0;
  bool quoted_ = false;  // a field of the current record begins with a quote
  std::vector<TextSlice> fields_;
};

}  // namespace zw
