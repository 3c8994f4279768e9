#include "orderlines/data_grid_lines_wrapper.h"

#include "base/text_sink.h"
#include "orderlines/component_stream.h"

namespace zw {
namespace {

// The published properties of one line in their order: empty texts are left out (their
// default), the two booleans and Row are always written.
void WriteLine(ComponentStreamWriter& writer, const TDataGridLine& line) {
  for (const TDataGridLineProperty& property : DataGridLineProperties()) {
    if (property.Text != nullptr) {
      const std::string_view text = line.*property.Text;
      if (text.empty()) continue;
      writer.ShortText(property.Name);
      writer.Text(text);
    } else if (property.Boolean != nullptr) {
      writer.ShortText(property.Name);
      writer.Boolean(line.*property.Boolean);
    } else {
      writer.ShortText(property.Name);
      writer.Integer(line.*property.Integer);
    }
  }
}

}  // namespace

// An upper bound of the stream's size, so that a string of it is written without reallocating.
std::size_t StreamSizeHint(const TDataGridLinesWrapper& wrapper) {
  std::size_t size = 128 + wrapper.GUID.size() + wrapper.Data.size();
  if (wrapper.DataGridLines == nullptr) return size;
  for (int i = 0; i < wrapper.DataGridLines->Count(); ++i) {
    const TDataGridLine& line = wrapper.DataGridLines->Items(i);
    size += 2 + 3 + 8 + 4 + 5;  // item markers, DM, Isnetto, Row with its value
    for (const TDataGridLineProperty& property : DataGridLineProperties()) {
      if (property.Text != nullptr && !(line.*property.Text).empty()) {
        size += 1 + property.Name.size() + 5 + (line.*property.Text).size();
      }
    }
  }
  return size;
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
  std::string out;
  StringSink sink(out, StreamSizeHint(wrapper));
  WriteWrapper(wrapper, sink);
  sink.Finish();
  return out;
}

}  // namespace zw
