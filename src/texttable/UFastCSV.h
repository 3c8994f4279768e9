#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// Reads delimiter-separated records from a private copy of a text. Records end at CR (an LF
// right after it is skipped); a field that starts with a double quote runs to the matching
// closing quote, so it may contain delimiters and line breaks. Fields are kept as slices of
// the copy and turned into text only when asked for.
class TCSVReader {
 public:
  TCSVReader(std::string_view text, char delimiter);

  // Goes back to the start and reads the first record.
  void First();
  // Reads the next record. Throws Error("Try to read past eof") after the end was reported.
  void Next();
  // The end of the data was reached; the current record is then not valid.
  bool Eof() const { return eof_; }

  int FieldCount() const { return field_count_; }
  // The field's value with its quotes removed; "" beyond the field count.
  std::string Fields(int index) const;
  // Appends the same value to out, so that callers can reuse one buffer.
  void AppendField(int index, std::string& out) const;
  // The same value without a copy where it can be: a view into the text for a field without
  // quotes, else the unquoted value written into scratch. Valid until the next read.
  std::string_view FieldView(int index, std::string& scratch) const;

 private:
  // 32-bit offsets halve the slots of a line of many empty fields; texts stay below 4 GiB.
  struct FieldSlot {
    std::uint32_t Start = 0;
    std::uint32_t Length = 0;
  };

  void ReadRecord();
  // Steps over a quoted section starting at the opening quote; false when the data ends inside.
  bool SkipQuoted(std::size_t& at);
  void StoreField(std::size_t start, std::size_t end);

  std::string buffer_;  // the text, a CR and a NUL that marks the end of the data
  std::size_t position_ = 0;
  char delimiter_;
  bool last_record_read_ = false;
  bool eof_ = false;
  int field_count_ = 0;
  std::vector<FieldSlot> fields_;
  std::array<bool, 256> stops_{};  // NUL, CR and the delimiter end a run of plain characters
};

}  // namespace zw
