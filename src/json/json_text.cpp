#include "json/json_text.h"

#include <cstring>
#include <stdexcept>
#include <string_view>

#include "base/number_text.h"
#include "base/win1252.h"
#include "json/json_escape.h"
#include "json/json_list.h"
#include "json/json_object.h"

// The text is made in two passes over the tree with the same walk: the first adds up its
// size, the second writes it into a string of exactly that size. A document's text is its
// largest block by far; made once, it is neither copied as it grows nor larger than needed.
namespace zw {
namespace {

// The Windows-1252 byte that a UTF-16 unit is written as. Plain ASCII, nearly every unit,
// needs no lookup.
char ByteOf(char16_t unit) { return unit < 0x80 ? static_cast<char>(unit) : Win1252Of(unit); }

class SizeCounter {
 public:
  void Bytes(std::string_view bytes) { size_ += bytes.size(); }
  void Byte(char) { ++size_; }
  void String(std::string_view bytes) { size_ += 2 + JsonEscapedSize(bytes); }
  void String(std::u16string_view units) {
    size_ += 2 + units.size();
    for (const char16_t unit : units) {
      size_ += kJsonEscapeExtra[static_cast<unsigned char>(ByteOf(unit))];
    }
  }
  void Packed(const TJsonPackedMembers& members) { size_ += members.TextSize(); }

  std::size_t Size() const { return size_; }

 private:
  std::size_t size_ = 0;
};

// Writes within the room the counter found, which the caller made.
class Writer {
 public:
  explicit Writer(char* out) : out_(out) {}

  void Bytes(std::string_view bytes) {
    std::memcpy(out_, bytes.data(), bytes.size());
    out_ += bytes.size();
  }
  void Byte(char byte) { *out_++ = byte; }
  void String(std::string_view bytes) {
    *out_++ = '"';
    out_ = WriteJsonEscaped(out_, bytes);
    *out_++ = '"';
  }
  void String(std::u16string_view units) {
    *out_++ = '"';
    for (const char16_t unit : units) {
      const char byte = ByteOf(unit);
      if (kJsonEscapeExtra[static_cast<unsigned char>(byte)] == 0) {
        *out_++ = byte;
      } else {
        const std::string_view escape = JsonEscapeOf(static_cast<unsigned char>(byte));
        std::memcpy(out_, escape.data(), escape.size());
        out_ += escape.size();
      }
    }
    *out_++ = '"';
  }
  void Packed(const TJsonPackedMembers& members) { out_ = members.WriteText(out_); }

  const char* End() const { return out_; }

 private:
  char* out_;
};

template <class Out>
void Write(Out& out, const TJsonBase* value) {
  if (value == nullptr) return;
  switch (value->Class()) {
    case JsonClass::String:
      out.String(std::u16string_view(static_cast<const TJsonString*>(value)->Value()));
      return;
    case JsonClass::Number:
      out.Bytes(
          FormatNumber(static_cast<const TJsonNumber*>(value)->Value(), '.', NonFinite::Named));
      return;
    case JsonClass::Boolean:
      out.Bytes(static_cast<const TJsonBoolean*>(value)->Value() ? "true" : "false");
      return;
    case JsonClass::Null:
      out.Bytes("null");
      return;
    case JsonClass::Object: {
      const auto* object = static_cast<const TJsonObject*>(value);
      if (const TJsonPackedMembers* packed = object->PackedMembers()) {
        out.Packed(*packed);
        return;
      }
      out.Byte('{');
      bool first = true;
      for (int i = 0; i < object->Count(); ++i) {
        // Only fields have a name to write; anything else stored by SetChild is left out.
        const TJsonBase* child = object->Child(i);
        if (child == nullptr || child->Class() != JsonClass::Field) continue;
        const auto* field = static_cast<const TJsonObjectField*>(child);
        if (!first) out.Byte(',');
        first = false;
        out.String(std::u16string_view(field->Name()));
        out.Byte(':');
        Write(out, field->Value());
      }
      out.Byte('}');
      return;
    }
    case JsonClass::List: {
      const auto* list = static_cast<const TJsonList*>(value);
      out.Byte('[');
      for (int i = 0; i < list->Count(); ++i) {
        if (i > 0) out.Byte(',');
        Write(out, list->Child(i));
      }
      out.Byte(']');
      return;
    }
    case JsonClass::Field:
    case JsonClass::Other:
      return;
  }
}

}  // namespace

std::string TJsonText::GenerateText(const TJsonBase* value) {
  SizeCounter counter;
  Write(counter, value);
  std::string text(counter.Size(), '\0');
  Writer writer(text.data());
  Write(writer, value);
  // Both passes take the same path through the same tree; a difference is a fault here.
  if (writer.End() != text.data() + text.size()) {
    throw std::logic_error("JSON text size differs from its count");
  }
  return text;
}

}  // namespace zw
