#include "orderlines/uDataGridLines.h"

#include <cstring>
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

// The items in the order CopyToClipboard places them.
enum ItemIndex : std::size_t { kDataGridItem, kHtmlItem, kTextItem, kCsvItem };

// The items of one copy, written by the lines as the clipboard asks for them.
class LineItems final : public ClipboardItemSource {
 public:
  LineItems(const TDataGridLines& lines, const std::string& guid) : lines_(lines), guid_(guid) {}
  std::size_t ItemCount() const override { return TDataGridLines::kClipboardItemCount; }
  std::uint16_t ItemFormat(std::size_t index) const override {
    return TDataGridLines::ClipboardItemFormat(index);
  }
  void WriteItem(std::size_t index, GrowableBlock& block) const override {
    lines_.WriteClipboardItem(index, guid_, block);
  }

 private:
  const TDataGridLines& lines_;
  const std::string& guid_;
};

}  // namespace

std::uint16_t TDataGridLines::ClipboardItemFormat(std::size_t index) {
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  const std::uint16_t in_order[kClipboardItemCount] = {formats.DataGrid, formats.Html, formats.Text,
                                                       formats.Csv};
  if (index >= kClipboardItemCount) throw std::out_of_range("clipboard item index out of range");
  return in_order[index];
}

void TDataGridLines::WriteClipboardItem(std::size_t index, const std::string& guid,
                                        GrowableBlock& block) const {
  block.Resize(0);
  switch (index) {
    case kDataGridItem: {
      const TDataGridLinesWrapper wrapper = WrapperOf(*this, guid);
      const std::string_view count_room("\0\0\0\0", 4);
      {
        BufferSink sink(block, count_room.size() + StreamSizeHint(wrapper));
        sink.Put(count_room);
        WriteWrapper(wrapper, sink);
      }
      const std::string count = SizePrefix(block.size() - count_room.size());
      std::memcpy(block.data(), count.data(), count.size());
      break;
    }
    case kHtmlItem: {
      bool table = false;
      {
        // The table is written straight into its document instead of being copied into it.
        const std::string start = BeginCfHtml();
        BufferSink sink(block, start.size() + RenderingSizeHint(Rendering::HtmlTable));
        sink.Put(start);
        WriteRendering(Rendering::HtmlTable, sink);
        table = sink.Written() != start.size();
        if (table) sink.Put(CfHtmlSuffix());
      }
      // Without a table there is no document either.
      if (table) {
        WriteCfHtmlHeader(block);
      } else {
        block.Resize(0);
      }
      break;
    }
    case kTextItem: {
      BufferSink sink(block, RenderingSizeHint(Rendering::Text) + 1);
      WriteRendering(Rendering::Text, sink);
      // CF_TEXT ends with a zero byte; the other formats carry none.
      if (sink.Written() != 0) sink.Put('\0');
      break;
    }
    case kCsvItem: {
      BufferSink sink(block, RenderingSizeHint(Rendering::Csv));
      WriteRendering(Rendering::Csv, sink);
      break;
    }
    default:
      throw std::out_of_range("clipboard item index out of range");
  }
}

ClipboardItem TDataGridLines::ClipboardItemAt(std::size_t index, const std::string& guid) const {
  ClipboardItem item;
  item.Format = ClipboardItemFormat(index);
  WriteClipboardItem(index, guid, item.Block);
  return item;
}

void TDataGridLines::WriteClipboardBlock(std::size_t index, const std::string& guid,
                                         TextSink& out) const {
  switch (index) {
    case kDataGridItem: {
      const TDataGridLinesWrapper wrapper = WrapperOf(*this, guid);
      CountingSink stream;
      WriteWrapper(wrapper, stream);
      out.Put(SizePrefix(stream.Written()));
      WriteWrapper(wrapper, out);
      break;
    }
    case kHtmlItem: {
      CountingSink table;
      WriteRendering(Rendering::HtmlTable, table);
      if (table.Written() == 0) break;
      out.Put(CfHtmlPrefix(table.Written()));
      WriteRendering(Rendering::HtmlTable, out);
      out.Put(CfHtmlSuffix());
      break;
    }
    case kTextItem: {
      const std::size_t before = out.Written();
      WriteRendering(Rendering::Text, out);
      if (out.Written() != before) out.Put('\0');
      break;
    }
    case kCsvItem:
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
  ByteBuffer block;
  WriteClipboardItem(kTextItem, "", block);
  // The block without the zero byte that ends it.
  return std::string(block.view().substr(0, block.empty() ? 0 : block.size() - 1));
}

std::string TDataGridLines::LinesAsHtml() const {
  ByteBuffer block;
  WriteClipboardItem(kHtmlItem, "", block);
  return block.str();
}

std::string TDataGridLines::LinesAsCsv() const {
  ByteBuffer block;
  WriteClipboardItem(kCsvItem, "", block);
  return block.str();
}

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
