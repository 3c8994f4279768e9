#include "texttable/record_fields.h"

namespace zw {

void AppendFieldValue(std::string_view field, std::string& out) {
  constexpr char kQuote = '"';
  if (field.empty()) return;
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
