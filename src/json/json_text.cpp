#include "json/json_text.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <typeinfo>

#include "base/number_text.h"
#include "base/win1252.h"
#include "json/json_list.h"
#include "json/json_object.h"

namespace zw {
namespace {

// Starts with room for a whole order document of usual size and grows by half its room, at
// least by that first room again, so that a long document is not copied again and again.
class TextBuffer {
 public:
  static constexpr std::size_t kStep = 50000;

  TextBuffer() { text_.resize(kStep); }

  // Room for `count` more bytes, so that Put needs no check of its own. The string holds its
  // whole room; the bytes written are the first used_.
  void Reserve(std::size_t count) {
    if (count <= text_.size() - used_) return;
    std::size_t room = text_.size();
    while (count > room - used_) room += std::max(kStep, room / 2);
    text_.resize(room);
  }
  void Append(std::string_view bytes) {
    Reserve(bytes.size());
    Put(bytes);
  }
  void Append(char byte) { Append(std::string_view(&byte, 1)); }
  // Where the next byte goes, to be written directly within what Reserve made room for; Done
  // takes the place after the last byte written.
  char* Cursor() { return text_.data() + used_; }
  void Done(const char* end) { used_ = static_cast<std::size_t>(end - text_.data()); }
  void Put(std::string_view bytes) {
    if (bytes.empty()) return;
    std::memcpy(Cursor(), bytes.data(), bytes.size());
    used_ += bytes.size();
  }

  std::string Take() {
    text_.resize(used_);
    used_ = 0;
    return std::move(text_);
  }

 private:
  std::string text_;
  std::size_t used_ = 0;
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
  // No escape is longer than six bytes. The bytes are written through a local pointer, which
  // the compiler can keep in a register.
  out.Reserve(2 + 6 * text.size());
  char* written = out.Cursor();
  *written++ = '"';
  char buffer[6];
  for (const char16_t unit : text) {
    if (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '/' && unit != '\\') {
      *written++ = static_cast<char>(unit);
      continue;
    }
    const char c = Win1252Of(unit);
    const std::string_view escape = EscapeOf(static_cast<unsigned char>(c), buffer);
    if (escape.empty()) {
      *written++ = c;
    } else {
      std::memcpy(written, escape.data(), escape.size());
      written += escape.size();
    }
  }
  *written++ = '"';
  out.Done(written);
}

// The value as a T when it is one. A value of exactly that class, as nearly all are, is told by
// its type alone; only a value of another class needs the search through its bases.
template <typename T>
const T* As(const TJsonBase* value) {
  if (typeid(*value) == typeid(T)) return static_cast<const T*>(value);
  return dynamic_cast<const T*>(value);
}

void Write(TextBuffer& out, const TJsonBase* value) {
  if (value == nullptr) return;
  // The kinds are tried in the order of their frequency in an order document.
  if (const auto* text = As<TJsonString>(value)) {
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
      const TJsonBase* child = object->Child(i);
      const auto* field = child == nullptr ? nullptr : As<TJsonObjectField>(child);
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
