#include "line_dump.h"

#include <sstream>

namespace zw {
namespace {

void AppendEscaped(std::string& out, std::string_view value) {
  for (const char c : value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace

void DumpLines(const TCustomDataGridLines& lines, std::ostream& stream) {
  // One line at a time, so a huge conversion is not held twice in memory.
  std::string out;
  for (int i = 0; i < lines.Count(); ++i) {
    out.clear();
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
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
  }
}

std::string DumpLines(const TCustomDataGridLines& lines) {
  std::ostringstream out;
  DumpLines(lines, out);
  return out.str();
}

}  // namespace zw
