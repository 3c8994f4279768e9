#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "texttable/text_slice.h"

namespace zw {

// Appends the value of a field as the reader finds it, quotes included: a field that does not
// begin with a quote is its value; of one that does, the first and the last character go and
// each pair of quotes becomes one quote.
void AppendFieldValue(std::string_view field, std::string& out);

// The fields of one record as the reader found them: slices of the text, quotes included.
struct RecordFields {
  std::string_view Text;
  const TextSlice* Slices = nullptr;
  std::size_t Count = 0;
  bool Quoted = false;  // a field begins with a quote, so that its value is not its slice
  char Delimiter = '\t';

  // The record's bytes from the start of its first field to the end of its last one.
  std::string_view Span() const {
    if (Count == 0) return {};
    const TextSlice& first = Slices[0];
    const TextSlice& last = Slices[Count - 1];
    return std::string_view(Text.data() + first.Start, last.Start + last.Length - first.Start);
  }
  // The field's raw slice, quotes included.
  std::string_view Field(std::size_t index) const {
    return std::string_view(Text.data() + Slices[index].Start, Slices[index].Length);
  }
  // The field's value: a view into the text for a field without quotes, else the value written
  // into scratch.
  std::string_view Value(std::size_t index, std::string& scratch) const {
    const std::string_view field = Field(index);
    if (field.empty() || field.front() != '"') return field;
    scratch.clear();
    AppendFieldValue(field, scratch);
    return scratch;
  }
};

}  // namespace zw
