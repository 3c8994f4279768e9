#include "orderlines/uDataGridLines.h"

#include <exception>
#include <stdexcept>

#include "base/text_sink.h"
#include "orderlines/data_grid_lines_wrapper.h"

namespace zw {
namespace {

TDataGridLinesWrapper WrapperOf(const TDataGridLines& lines, const std::string& guid) {
  TDataGridLinesWrapper wrapper;
  wrapper.DataGridLines = &lines;
  wrapper.GUID = guid;
  wrapper.Row = lines.Row;
  wrapper.Data = lines.Data;
  return wrapper;
}

ByteBuffer WrapperStream(const TDataGridLines& lines, const std::string& guid) {
  const TDataGridLinesWrapper wrapper = WrapperOf(lines, guid);
  ByteBuffer stream;
  BufferSink sink(stream, StreamSizeHint(wrapper));
  WriteWrapper(wrapper, sink);
  sink.Finish();
  return stream;
}

// The items of one copy, made by the lines as the clipboard asks for them.
class LineItems final : public ClipboardItemSource {
 public:
  LineItems(const TDataGridLines& lines, const std::string& guid) : lines_(lines), guid_(guid) {}
  std::size_t ItemCount() const override { return TDataGridLines::kClipboardItemCount; }
  ClipboardItem MakeItem(std::size_t index) const override {
    return lines_.ClipboardItemAt(index, guid_);
  }

 private:
  const TDataGridLines& lines_;
  const std::string& guid_;
};

}  // namespace

ByteBuffer TDataGridLines::TextItemStream(Rendering rendering) const {
  ByteBuffer stream;
  // The table is written straight into its document instead of being copied into it.
  if (rendering == Rendering::HtmlTable) stream = ByteBuffer(BeginCfHtml());
  const std::size_t envelope = stream.size();
  {
    BufferSink sink(stream, RenderingSizeHint(rendering));
    WriteRendering(rendering, sink);
  }
  // Without a table there is no document either.
  if (stream.size() == envelope) return ByteBuffer();
  // CF_TEXT ends with a zero byte; the other formats carry none.
  if (rendering == Rendering::Text) stream.push_back('\0');
  if (rendering == Rendering::HtmlTable) EndCfHtml(stream);
  return stream;
}

ClipboardItem TDataGridLines::ClipboardItemAt(std::size_t index, const std::string& guid) const {
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  ClipboardItem item;
  switch (index) {
    case 0:
      item.Format = formats.DataGrid;
      item.SizePrefix = true;
      item.Stream = WrapperStream(*this, guid);
      break;
    case 1:
      item.Format = formats.Html;
      item.Stream = TextItemStream(Rendering::HtmlTable);
      break;
    case 2:
      item.Format = formats.Text;
      item.Stream = TextItemStream(Rendering::Text);
      break;
    case 3:
      item.Format = formats.Csv;
      item.Stream = TextItemStream(Rendering::Csv);
      break;
    default:
      throw std::out_of_range("clipboard item index out of range");
  }
  return item;
}

void TDataGridLines::WriteClipboardBlock(std::size_t index, const std::string& guid,
                                         TextSink& out) const {
  switch (index) {
    case 0: {
      const TDataGridLinesWrapper wrapper = WrapperOf(*this, guid);
      CountingSink stream;
      WriteWrapper(wrapper, stream);
      out.Put(SizePrefix(stream.Written()));
      WriteWrapper(wrapper, out);
      break;
    }
    case 1: {
      CountingSink table;
      WriteRendering(Rendering::HtmlTable, table);
      if (table.Written() == 0) break;
      out.Put(CfHtmlPrefix(table.Written()));
      WriteRendering(Rendering::HtmlTable, out);
      out.Put(CfHtmlSuffix());
      break;
    }
    case 2: {
      const std::size_t before = out.Written();
      WriteRendering(Rendering::Text, out);
      if (out.Written() != before) out.Put('\0');
      break;
    }
    case 3:
      WriteRendering(Rendering::Csv, out);
      break;
    default:
      throw std::out_of_range("clipboard item index out of range");
  }
}

bool TDataGridLines::CopyToClipboard(const std::string& guid, ClipboardSink& clipboard) {
  try {
    GUID = guid;
    return clipboard.PutClipboardItems(LineItems(*this, GUID)) == kClipboardItemCount;
  } catch (const std::exception&) {
    // The clipboard keeps whatever it holds now, the items placed before one that could not be
    // made among it; the caller learns that the lines are not all there.
    return false;
  }
}

std::string TDataGridLines::LinesAsText() const {
  const ByteBuffer stream = TextItemStream(Rendering::Text);
  // The item's stream without the zero byte that ends it.
  return std::string(stream.view().substr(0, stream.empty() ? 0 : stream.size() - 1));
}

std::string TDataGridLines::LinesAsHtml() const {
  return TextItemStream(Rendering::HtmlTable).str();
}

std::string TDataGridLines::LinesAsCsv() const { return TextItemStream(Rendering::Csv).str(); }

void TDataGridLines::WriteRendering(Rendering, TextSink&) const {}

std::size_t TDataGridLines::RenderingSizeHint(Rendering) const { return 0; }

void TExDataGridLines::WriteRendering(Rendering rendering, TextSink& out) const {
  switch (rendering) {
    case Rendering::Text:
      WriteKeyText(*this, separators_, out);
      break;
    case Rendering::HtmlTable:
      WriteHtmlTable(*this, separators_, out);
      break;
    case Rendering::Csv:
      WriteCsvText(*this, separators_, out);
      break;
  }
}

std::size_t TExDataGridLines::RenderingSizeHint(Rendering rendering) const {
  return zw::RenderingSizeHint(*this, rendering);
}

}  // namespace zw
