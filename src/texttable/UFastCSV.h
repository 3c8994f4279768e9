#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace zw {

// Reads delimiter-separated records from a text. Records end at CR (an LF right after it is
// skipped); a field that starts with a double quote runs to the matching closing quote, so it
// may contain delimiters and line breaks. The text reads as if a CR and a NUL followed it, and
// a NUL ends the data. Fields are kept as slices of the text and turned into text only when
// asked for; the reader makes no copy, so the text must outlive it.
class TCSVReader {
 public:
  TCSVReader(std::string_view text, char delimiter);
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
  // Inline: a table is filled through it, field by field.
  std::string_view FieldView(int index, std::string& scratch) const {
    if (index < 0 || index >= field_count_) return {};
    const FieldSlot& slot = fields_[static_cast<std::size_t>(index)];
    if (slot.Length == 0) return {};
    if (text_[slot.Start] != kQuote) return text_.substr(slot.Start, slot.Length);
    return UnquotedField(index, scratch);
  }
  // The current record's bytes from the start of its first field to the end of its last one,
  // delimiters included; quoted tells whether any field begins with a quote.
  std::string_view RecordSpan(bool& quoted) const;

 private:
  // 32-bit offsets halve the slots of a line of many empty fields; texts stay below 4 GiB.
  struct FieldSlot {
    std::uint32_t Start = 0;
    std::uint32_t Length = 0;
  };

  void ReadRecord();
  // The byte at a position of the text followed by its CR and NUL.
  char At(std::size_t at) const {
    return at < text_.size() ? text_[at] : at == text_.size() ? kFinalLineEnd : '\0';
  }
  // Steps over a quoted section starting at the opening quote; false when the data ends inside.
  bool SkipQuoted(std::size_t& at);
  // SkipQuoted for a field that begins with the quote: the record is then a quoted one.
  bool SkipQuotedField(std::size_t& at);
  // The value of a field that begins with a quote, written into scratch.
  std::string_view UnquotedField(int index, std::string& scratch) const;
  void StoreField(std::size_t start, std::size_t end) {
    const auto index = static_cast<std::size_t>(field_count_);
    if (index == fields_.size()) fields_.emplace_back();
    fields_[index] =
        FieldSlot{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
    ++field_count_;
  }
  // The first position from `at` on that holds a NUL, a CR or the delimiter, or the end.
  std::size_t NextStop(std::size_t at) const;

  static constexpr char kFinalLineEnd = '\r';
  static constexpr char kQuote = '"';

  std::string_view text_;
  std::size_t position_ = 0;
  char delimiter_;
  bool last_record_read_ = false;
  bool eof_ = false;
  int field_count_ = 0;
  bool quoted_ = false;  // a field of the current record begins with a quote
  std::vector<FieldSlot> fields_;
  std::array<bool, 256> stops_{};  // NUL, CR and the delimiter end a run of plain characters
};

}  // namespace zw
