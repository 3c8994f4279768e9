#include "json/json_text.h"

#include <string_view>

#include "base/number_text.h"
#include "base/win1252.h"
#include "json/json_list.h"
#include "json/json_object.h"

namespace zw {
namespace {

// Grows in fixed steps rather than by doubling: a whole order document fits the first step.
class TextBuffer {
 public:
  static constexpr std::size_t kStep = 50000;

  TextBuffer() { text_.reserve(capacity_); }

  // Room for `count` more bytes, so that Put needs no check of its own.
  void Reserve(std::size_t count) {
    if (text_.size() + count <= capacity_) return;
    while (text_.size() + count > capacity_) capacity_ += kStep;
    text_.reserve(capacity_);
  }
  void Append(std::string_view bytes) {
    Reserve(bytes.size());
    text_.append(bytes);
  }
  void Append(char byte) { Append(std::string_view(&byte, 1)); }
  // Only within what Reserve made room for.
  void Put(char byte) { text_.push_back(byte); }
  void Put(std::string_view bytes) { text_.append(bytes); }

  std::string Take() { return std::move(text_); }

 private:
  std::size_t capacity_ = kStep;
  std::string text_;
};

// The escape of a byte that is not written as it stands; empty for the others.
std::string_view EscapeOf(unsigned char byte, char (&buffer)[6]) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  switch (byte) {
    case 0x08:
      return "\\b";
    case 0x09:
      return "\\t";
    case 0x0A:
      return "\\n";
    case 0x0C:
      return "\\f";
    case 0x0D:
      return "\\r";
    case '"':
      return "\\\"";
    case '/':
      return "\\/";
    case '\\':
      return "\\\\";
    case 0x80:  // the euro sign
      return "\\u20ac";
    default:
      if (byte >= 0x20) return {};
      buffer[0] = '\\';
      buffer[1] = 'u';
      buffer[2] = '0';
      buffer[3] = '0';
      buffer[4] = kHex[byte >> 4];
      buffer[5] = kHex[byte & 0x0F];
      return std::string_view(buffer, sizeof buffer);
  }
}

// The quoted, escaped text. Plain ASCII, nearly every unit of an order, is written without
// the code page lookup or the escape table.
void AppendString(TextBuffer& out, const std::u16string& text) {
  // No escape is longer than six bytes.
  out.Reserve(2 + 6 * text.size());
  out.Put('"');
  char buffer[6];
  for (const char16_t unit : text) {
    if (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '/' && unit != '\\') {
      out.Put(static_cast<char>(unit));
      continue;
    }
    const char c = Win1252Of(unit);
    const std::string_view escape = EscapeOf(static_cast<unsigned char>(c), buffer);
    if (escape.empty()) {
      out.Put(c);
    } else {
      out.Put(escape);
    }
  }
  out.Put('"');
}

void Write(TextBuffer& out, const TJsonBase* value) {
  if (value == nullptr) return;
  // The kinds are tried in the order of their frequency in an order document.
  if (const auto* text = dynamic_cast<const TJsonString*>(value)) {
    AppendString(out, text->Value());
  } else if (const auto* number = dynamic_cast<const TJsonNumber*>(value)) {
    out.Append(FormatNumber(number->Value(), '.', NonFinite::Named));
  } else if (const auto* flag = dynamic_cast<const TJsonBoolean*>(value)) {
    out.Append(flag->Value() ? "true" : "false");
  } else if (dynamic_cast<const TJsonNull*>(value) != nullptr) {
    out.Append("null");
  } else if (const auto* object = dynamic_cast<const TJsonObject*>(value)) {
    out.Append('{');
    bool first = true;
    for (int i = 0; i < object->Count(); ++i) {
      // Only fields have a name to write; anything else stored by SetChild is left out.
      const auto* field = dynamic_cast<const TJsonObjectField*>(object->Child(i));
      if (field == nullptr) continue;
      if (!first) out.Append(',');
      first = false;
      AppendString(out, field->Name());
      out.Append(':');
      Write(out, field->Value());
    }
    out.Append('}');
  } else if (const auto* list = dynamic_cast<const TJsonList*>(value)) {
    out.Append('[');
    for (int i = 0; i < list->Count(); ++i) {
      if (i > 0) out.Append(',');
      Write(out, list->Child(i));
    }
    out.Append(']');
  }
}

}  // namespace

std::string TJsonText::GenerateText(const TJsonBase* value) {
  TextBuffer out;
  Write(out, value);
  return out.Take();
}

}  // namespace zw
