#include "orderlines/data_grid_lines_wrapper.h"

#include <string>
#include <vector>

#include "base/byte_buffer.h"
#include "base/text_sink.h"
#include "orderlines/component_stream.h"
#include "orderlines/line_sample.h"

namespace zw {
namespace {

// A published property of a line with its name written once as a short text.
struct StreamedProperty {
  const TDataGridLineProperty* Property;
  std::string Name;
};

const std::vector<StreamedProperty>& StreamedProperties() {
  static const std::vector<StreamedProperty> properties = [] {
    std::vector<StreamedProperty> result;
    for (const TDataGridLineProperty& property : DataGridLineProperties()) {
      result.push_back({&property, WrittenText(0, [&](TextSink& sink) {
                          ComponentStreamWriter(sink).ShortText(property.Name);
                        })});
    }
    return result;
  }();
  return properties;
}

// The published properties of one line in their order: empty texts are left out (their
// default), the two booleans and Row are always written.
void WriteLine(ComponentStreamWriter& writer, const TDataGridLine& line) {
  for (const StreamedProperty& streamed : StreamedProperties()) {
    const TDataGridLineProperty& property = *streamed.Property;
    if (property.Text != nullptr) {
      const std::string_view text = line.*property.Text;
      if (text.empty()) continue;
      writer.Encoded(streamed.Name);
      writer.Text(text);
    } else if (property.Boolean != nullptr) {
      writer.Encoded(streamed.Name);
      writer.Boolean(line.*property.Boolean);
    } else {
      writer.Encoded(streamed.Name);
      writer.Integer(line.*property.Integer);
    }
  }
}

}  // namespace

std::size_t StreamSizeHint(const TDataGridLinesWrapper& wrapper) {
  struct TextEntry {
    LineText TDataGridLine::*Text;
    std::size_t Size;  // name with its length byte, type byte and the longest length
  };
  // The text properties alone: the others take the same bytes on every line.
  static const std::vector<TextEntry> texts = [] {
    std::vector<TextEntry> entries;
    for (const TDataGridLineProperty& property : DataGridLineProperties()) {
      if (property.Text != nullptr)
        entries.push_back({property.Text, 1 + property.Name.size() + 5});
    }
    return entries;
  }();
  const std::size_t size = 128 + wrapper.GUID.size() + wrapper.Data.size();
  if (wrapper.DataGridLines == nullptr) return size;
  return size + EstimatedLineSum(*wrapper.DataGridLines, [](const TDataGridLine& line) {
           std::size_t bytes = 2 + 3 + 8 + 4 + 5;  // item markers, DM, Isnetto, Row with its value
           for (const TextEntry& entry : texts) {
             const std::size_t length = (line.*entry.Text).size();
             if (length != 0) bytes += entry.Size + length;
           }
           return bytes;
         });
}

void WriteWrapper(const TDataGridLinesWrapper& wrapper, TextSink& out) {
  ComponentStreamWriter writer(out);
  writer.Signature();
  writer.ShortText("TDataGridLinesWrapper");
  writer.ShortText("");  // component name
  if (wrapper.Tag != 0) {
    writer.ShortText("Tag");
    writer.Integer(wrapper.Tag);
  }
  writer.ShortText("DataGridLines");
  writer.BeginCollection();
  if (wrapper.DataGridLines != nullptr) {
    for (int i = 0; i < wrapper.DataGridLines->Count(); ++i) {
      writer.BeginItem();
      WriteLine(writer, wrapper.DataGridLines->Items(i));
      writer.EndOfList();
    }
  }
  writer.EndOfList();
  if (!wrapper.GUID.empty()) {
    writer.ShortText("GUID");
    writer.Text(wrapper.GUID);
  }
  writer.ShortText("Row");
  writer.Integer(wrapper.Row);
  if (!wrapper.Data.empty()) {
    writer.ShortText("Data");
    writer.Text(wrapper.Data);
  }
  writer.EndOfList();  // properties
  writer.EndOfList();  // child components
}

std::string StreamWrapper(const TDataGridLinesWrapper& wrapper) {
  return WrittenText(StreamSizeHint(wrapper), [&](TextSink& sink) { WriteWrapper(wrapper, sink); });
}

}  // namespace zw
