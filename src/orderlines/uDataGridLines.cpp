#include "orderlines/uDataGridLines.h"

#include <exception>

#include "orderlines/data_grid_lines_wrapper.h"
#include "orderlines/line_renderings.h"

namespace zw {

std::vector<ClipboardItem> TDataGridLines::ClipboardItems(const std::string& guid) const {
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  std::vector<ClipboardItem> items(4);
  items[0].Format = formats.DataGrid;
  items[0].SizePrefix = true;
  items[1].Format = formats.Html;
  items[2].Format = formats.Text;
  items[3].Format = formats.Csv;
  TDataGridLinesWrapper wrapper;
  wrapper.DataGridLines = this;
  wrapper.GUID = guid;
  wrapper.Row = Row;
  wrapper.Data = Data;
  items[0].Stream = StreamWrapper(wrapper);
  items[2].Stream = LinesAsText();
  // CF_TEXT ends with a zero byte; the other formats carry none.
  if (!items[2].Stream.empty()) items[2].Stream.push_back('\0');
  items[1].Stream = LinesAsHtml();
  items[3].Stream = LinesAsCsv();
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

std::string TExDataGridLines::LinesAsText() const { return KeyText(*this, separators_); }

std::string TExDataGridLines::LinesAsHtml() const {
  // The table is written straight into the envelope instead of being copied into it.
  std::string document = BeginCfHtml();
  AppendHtmlTable(*this, separators_, document);
  EndCfHtml(document);
  return document;
}

std::string TExDataGridLines::LinesAsCsv() const { return CsvText(*this, separators_); }

}  // namespace zw
