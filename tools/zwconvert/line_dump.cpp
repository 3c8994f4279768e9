#include "line_dump.h"

#include <sstream>

namespace zw {
namespace {

// Runs of bytes that need no escape are appended at once.
void AppendEscaped(std::string& out, std::string_view value) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    std::string_view escape;
    switch (value[i]) {
      case '\\':
        escape = "\\\\";
        break;
      case '\r':
        escape = "\\r";
        break;
      case '\n':
        escape = "\\n";
        break;
      case '\t':
        escape = "\\t";
        break;
      default:
        continue;
    }
    out.append(value.data() + run, i - run);
    out.append(escape);
    run = i + 1;
  }
  out.append(value.data() + run, value.size() - run);
}

}  // namespace

void DumpLines(const TCustomDataGridLines& lines, std::ostream& stream) {
  // Written in pieces of about 64 KiB, so a huge conversion is not held twice in memory.
  constexpr std::size_t kPiece = 64 * 1024;
  std::string out;
  const auto write = [&] {
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
    out.clear();
  };
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    for (const TDataGridLineProperty& property : DataGridLineProperties()) {
      out.append(property.Name);
      out += '=';
      if (property.Text != nullptr) AppendEscaped(out, line.*property.Text);
      if (property.Boolean != nullptr) out += line.*property.Boolean ? "true" : "false";
      if (property.Integer != nullptr) out += std::to_string(line.*property.Integer);
      out += '\n';
    }
    out += '\n';
    if (out.size() >= kPiece) write();
  }
  write();
}

std::string DumpLines(const TCustomDataGridLines& lines) {
  std::ostringstream out;
  DumpLines(lines, out);
  return out.str();
}

}  // namespace zw
