#include "line_dump.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_words.h"
#include "base/text_sink.h"

namespace zw {
namespace {

// The escape of each byte that has one; empty for the others.
const std::array<std::string_view, 256>& Escapes() {
  static const std::array<std::string_view, 256> escapes = [] {
    std::array<std::string_view, 256> table{};
    table['\\'] = "\\\\";
    table['\r'] = "\\r";
    table['\n'] = "\\n";
    table['\t'] = "\\t";
    return table;
  }();
  return escapes;
}

// Runs of bytes that need no escape are written at once.
void PutEscaped(TextSink& out, std::string_view value) {
  const auto& escapes = Escapes();
  const char* const data = value.data();
  const std::size_t size = value.size();
  std::size_t run = 0;
  for (std::size_t i = 0; i < size; ++i) {
    // Eight bytes at a time while none of them has an escape.
    while (i + 8 <= size) {
      const std::uint64_t word = WordAt(value, i);
      if ((BytesEqual(word, '\\') | BytesEqual(word, '\r') | BytesEqual(word, '\n') |
           BytesEqual(word, '\t')) != 0) {
        break;
      }
      i += 8;
    }
    if (i == size) break;
    const std::string_view escape = escapes[static_cast<unsigned char>(data[i])];
    if (escape.empty()) continue;
    out.Put(value.substr(run, i - run));
    out.Put(escape);
    run = i + 1;
  }
  out.Put(value.substr(run));
}

// "Name=\n" of every property, made once: a property without a value is written as it
// stands, one with a value as "Name=" before the value. Most text properties of a line are
// empty.
const std::vector<std::string>& EmptyPropertyLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> result;
    for (const TDataGridLineProperty& property : DataGridLineProperties())
      result.push_back(std::string(property.Name) + "=\n");
    return result;
  }();
  return lines;
}

void WriteLines(const TCustomDataGridLines& lines, TextSink& out) {
  const auto& properties = DataGridLineProperties();
  const std::vector<std::string>& empty_lines = EmptyPropertyLines();
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    for (std::size_t p = 0; p < properties.size(); ++p) {
      const TDataGridLineProperty& property = properties[p];
      const std::string_view empty_line = empty_lines[p];
      if (property.Text != nullptr && (line.*property.Text).empty()) {
        out.Put(empty_line);
        continue;
      }
      out.Put(empty_line.substr(0, empty_line.size() - 1));
      if (property.Text != nullptr) {
        PutEscaped(out, line.*property.Text);
      } else if (property.Boolean != nullptr) {
        out.Put(line.*property.Boolean ? "true" : "false");
      } else {
        constexpr std::size_t kDigits = 12;  // a sign and ten digits
        char* const room = out.Room(kDigits);
        out.Advance(std::to_chars(room, room + kDigits, line.*property.Integer).ptr);
      }
      out.Put('\n');
    }
    out.Put('\n');
  }
}

}  // namespace

void DumpLines(const TCustomDataGridLines& lines, std::ostream& stream) {
  // Written in pieces, so a huge conversion is not held twice in memory.
  StreamSink out(stream);
  WriteLines(lines, out);
  out.Finish();
}

std::string DumpLines(const TCustomDataGridLines& lines) {
  std::ostringstream out;
  DumpLines(lines, out);
  return out.str();
}

}  // namespace zw
