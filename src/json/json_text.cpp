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

  void Append(std::string_view bytes) {
    if (text_.size() + bytes.size() > capacity_) {
      while (text_.size() + bytes.size() > capacity_) capacity_ += kStep;
      text_.reserve(capacity_);
    }
    text_.append(bytes);
  }
  void Append(char byte) { Append(std::string_view(&byte, 1)); }

  std::string Take() { return std::move(text_); }

 private:
  std::size_t capacity_ = kStep;
  std::string text_;
};

void AppendEscaped(TextBuffer& out, const std::u16string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char16_t unit : text) {
    const char c = Win1252Of(unit);
    const auto byte = static_cast<unsigned char>(c);
    switch (byte) {
      case 0x08:
        out.Append("\\b");
        break;
      case 0x09:
        out.Append("\\t");
        break;
      case 0x0A:
        out.Append("\\n");
        break;
      case 0x0C:
        out.Append("\\f");
        break;
      case 0x0D:
        out.Append("\\r");
        break;
      case '"':
        out.Append("\\\"");
        break;
      case '/':
        out.Append("\\/");
        break;
      case '\\':
        out.Append("\\\\");
        break;
      case 0x80:  // the euro sign
        out.Append("\\u20ac");
        break;
      default:
        if (byte < 0x20) {
          const char escape[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0x0F]};
          out.Append(std::string_view(escape, sizeof escape));
        } else {
          out.Append(c);
        }
    }
  }
}

void AppendString(TextBuffer& out, const std::u16string& text) {
  out.Append('"');
  AppendEscaped(out, text);
  out.Append('"');
}

void Write(TextBuffer& out, const TJsonBase* value) {
  if (value == nullptr) return;
  if (const auto* number = dynamic_cast<const TJsonNumber*>(value)) {
    out.Append(FormatNumber(number->Value(), '.', NonFinite::Named));
  } else if (const auto* text = dynamic_cast<const TJsonString*>(value)) {
    AppendString(out, text->Value());
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
