#include "orderlines/uDataGridLines.h"

#include <exception>
#include <stdexcept>

#include "orderlines/data_grid_lines_wrapper.h"
#include "orderlines/line_renderings.h"

namespace zw {

ClipboardItem TDataGridLines::ClipboardItemAt(std::size_t index, const std::string& guid) const {
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  ClipboardItem item;
  switch (index) {
    case 0: {
      item.Format = formats.DataGrid;
      item.SizePrefix = true;
      TDataGridLinesWrapper wrapper;
      wrapper.DataGridLines = this;
      wrapper.GUID = guid;
      wrapper.Row = Row;
      wrapper.Data = Data;
      item.Stream = StreamWrapper(wrapper);
      break;
    }
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
