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

}  // namespace

TDataGridLines::TextStreams TDataGridLines::TextItemStreams(bool text, bool html, bool csv) const {
  TextStreams streams;
  // The table is written straight into its document instead of being copied into it.
  streams.Html = ByteBuffer(BeginCfHtml());
  const std::size_t envelope = streams.Html.size();
  {
    // A rendering not asked for gets no room.
    const RenderingSizes hints = RenderingSizeHints();
    BufferSink text_sink(streams.Text, text ? hints.Text : 0);
    BufferSink html_sink(streams.Html, html ? hints.HtmlTable : 0);
    BufferSink csv_sink(streams.Csv, csv ? hints.Csv : 0);
    if (text && html && csv) {
      WriteRenderings(text_sink, html_sink, csv_sink);
    } else {
      if (text) WriteRendering(Rendering::Text, text_sink);
      if (html) WriteRendering(Rendering::HtmlTable, html_sink);
      if (csv) WriteRendering(Rendering::Csv, csv_sink);
    }
  }
  // CF_TEXT ends with a zero byte; the other formats carry none.
  if (!streams.Text.empty()) streams.Text.push_back('\0');
  // Without a table there is no document either.
  if (streams.Html.size() == envelope) {
    streams.Html = ByteBuffer();
  } else {
    EndCfHtml(streams.Html);
  }
  return streams;
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
      item.Stream = std::move(TextItemStreams(false, true, false).Html);
      break;
    case 2:
      item.Format = formats.Text;
      item.Stream = std::move(TextItemStreams(true, false, false).Text);
      break;
    case 3:
      item.Format = formats.Csv;
      item.Stream = std::move(TextItemStreams(false, false, true).Csv);
      break;
    default:
      throw std::out_of_range("clipboard item index out of range");
  }
  return item;
}

std::vector<ClipboardItem> TDataGridLines::ClipboardItems(const std::string& guid) const {
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  std::vector<ClipboardItem> items(kClipboardItemCount);
  items[0] = {WrapperStream(*this, guid), formats.DataGrid, true};
  TextStreams streams = TextItemStreams(true, true, true);
  items[1] = {std::move(streams.Html), formats.Html, false};
  items[2] = {std::move(streams.Text), formats.Text, false};
  items[3] = {std::move(streams.Csv), formats.Csv, false};
  return items;
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
    const std::vector<ClipboardItem> items = ClipboardItems(GUID);
    return clipboard.PutClipboardItems(items) == items.size();
  } catch (const std::exception&) {
    // The clipboard keeps whatever it holds now; the caller learns that the lines are not there.
    return false;
  }
}

std::string TDataGridLines::LinesAsText() const {
  const ByteBuffer stream = TextItemStreams(true, false, false).Text;
  // The item's stream without the zero byte that ends it.
  return std::string(stream.view().substr(0, stream.empty() ? 0 : stream.size() - 1));
}

std::string TDataGridLines::LinesAsHtml() const {
  return TextItemStreams(false, true, false).Html.str();
}

std::string TDataGridLines::LinesAsCsv() const {
  return TextItemStreams(false, false, true).Csv.str();
}

void TDataGridLines::WriteRendering(Rendering, TextSink&) const {}

void TDataGridLines::WriteRenderings(TextSink& text, TextSink& html_table, TextSink& csv) const {
  WriteRendering(Rendering::Text, text);
  WriteRendering(Rendering::HtmlTable, html_table);
  WriteRendering(Rendering::Csv, csv);
}

RenderingSizes TDataGridLines::RenderingSizeHints() const { return {}; }

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

void TExDataGridLines::WriteRenderings(TextSink& text, TextSink& html_table, TextSink& csv) const {
  zw::WriteRenderings(*this, separators_, text, html_table, csv);
}

RenderingSizes TExDataGridLines::RenderingSizeHints() const {
  return zw::RenderingSizeHints(*this);
}

}  // namespace zw
