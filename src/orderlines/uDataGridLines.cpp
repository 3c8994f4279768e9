#include "orderlines/uDataGridLines.h"

#include <exception>
#include <stdexcept>

#include "base/text_sink.h"
#include "orderlines/data_grid_lines_wrapper.h"
#include "orderlines/line_renderings.h"

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

}  // namespace

ClipboardItem TDataGridLines::ClipboardItemAt(std::size_t index, const std::string& guid) const {
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  ClipboardItem item;
  switch (index) {
    case 0:
      item.Format = formats.DataGrid;
      item.SizePrefix = true;
      item.Stream = StreamWrapper(WrapperOf(*this, guid));
      break;
    case 1:
      item.Format = formats.Html;
      item.Stream = LinesAsHtml();
      break;
    case 2:
      item.Format = formats.Text;
      item.Stream = LinesAsText();
      // CF_TEXT ends with a zero byte; the other formats carry none.
      if (!item.Stream.empty()) item.Stream.push_back('\0');
      break;
    case 3:
      item.Format = formats.Csv;
      item.Stream = LinesAsCsv();
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

std::vector<ClipboardItem> TDataGridLines::ClipboardItems(const std::string& guid) const {
  std::vector<ClipboardItem> items(kClipboardItemCount);
  // The stream first, then the key text, the HTML and the CSV text.
  for (const std::size_t index : {0, 2, 1, 3}) items[index] = ClipboardItemAt(index, guid);
  return items;
}

bool TDataGridLines::CopyToClipboard(const std::string& guid, ClipboardSink& clipboard) {
  try {
    GUID = guid;
    const std::vector<ClipboardItem> items = ClipboardItems(GUID);
    return clipboard.PutClipboardItems(items) == items.size();
  } catch (const std::exception&) {
    // The clipboard keeps whatever it holds now; the caller learns that the lines are not there.
    return false;
  }
}

std::string TDataGridLines::RenderedText(Rendering rendering) const {
  std::string text;
  StringSink sink(text, RenderingSizeHint(rendering));
  WriteRendering(rendering, sink);
  sink.Finish();
  return text;
}

std::string TDataGridLines::LinesAsText() const { return RenderedText(Rendering::Text); }

std::string TDataGridLines::LinesAsHtml() const {
  // The table is written straight into the envelope instead of being copied into it.
  std::string document = BeginCfHtml();
  const std::size_t envelope = document.size();
  {
    StringSink sink(document, RenderingSizeHint(Rendering::HtmlTable));
    WriteRendering(Rendering::HtmlTable, sink);
  }
  // Without a table there is no document either.
  if (document.size() == envelope) return {};
  EndCfHtml(document);
  return document;
}

std::string TDataGridLines::LinesAsCsv() const { return RenderedText(Rendering::Csv); }

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
  switch (rendering) {
    case Rendering::Text:
      return KeyTextSizeHint(*this);
    case Rendering::HtmlTable:
      return HtmlTableSizeHint(*this);
    case Rendering::Csv:
      return CsvTextSizeHint(*this);
  }
  return 0;
}

}  // namespace zw
