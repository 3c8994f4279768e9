#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "base/errors.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/data_grid_lines_wrapper.h"
#include "orderlines/uDataGridLines.h"

namespace zw {
namespace {

// Builds expected streams byte by byte, independently of the writer.
class Bytes {
 public:
  Bytes& Raw(std::string_view text) {
    bytes_.append(text);
    return *this;
  }
  Bytes& B(int value) {
    bytes_.push_back(static_cast<char>(value));
    return *this;
  }
  Bytes& Short(std::string_view text) { return B(static_cast<int>(text.size())).Raw(text); }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

void FillWorkedExampleLine(TDataGridLine& line) {
  line.Pos = "1";
  line.Stueck = "2";
  line.Bezeichnung1 = "Kitt";
  line.Einzelbetrag = "3";
  line.Steuer = "8";
  line.Isnetto = true;
}

std::string StreamOf(const TCustomDataGridLines& lines) {
  TDataGridLinesWrapper wrapper;
  wrapper.DataGridLines = &lines;
  wrapper.GUID = lines.GUID;
  wrapper.Row = lines.Row;
  wrapper.Data = lines.Data;
  return StreamWrapper(wrapper);
}

TEST(DataGridStream, WorkedExampleIs134Bytes) {
  TExDataGridLines lines;
  FillWorkedExampleLine(lines.Add());
  Bytes expected;
  expected.Raw("TPF0").Short("TDataGridLinesWrapper").B(0).Short("DataGridLines").B(0x0E).B(0x01);
  expected.Short("Stueck").B(0x06).Short("2");
  expected.Short("Bezeichnung1").B(0x06).Short("Kitt");
  expected.Short("Einzelbetrag").B(0x06).Short("3");
  expected.Short("Steuer").B(0x06).Short("8");
  expected.Short("DM").B(0x08);
  expected.Short("Isnetto").B(0x09);
  expected.Short("Row").B(0x02).B(0);
  expected.Short("Pos").B(0x06).Short("1");
  expected.B(0).B(0).Short("Row").B(0x02).B(0).B(0).B(0);
  const std::string stream = StreamOf(lines);
  EXPECT_EQ(stream.size(), 134u);
  EXPECT_EQ(stream, expected.str());
}

TEST(DataGridStream, LongTextsUseTheFourByteLength) {
  TExDataGridLines lines;
  lines.Add().Bezeichnung1 = std::string(300, 'x');
  const std::string stream = StreamOf(lines);
  const std::string entry = Bytes()
                                .Short("Bezeichnung1")
                                .B(0x0C)
                                .B(300 & 0xFF)
                                .B(300 >> 8)
                                .B(0)
                                .B(0)
                                .Raw(std::string(300, 'x'))
                                .str();
  EXPECT_NE(stream.find(entry), std::string::npos);
  // 255 bytes still fit the short form.
  lines.Items(0).Bezeichnung1 = std::string(255, 'y');
  EXPECT_NE(StreamOf(lines).find(Bytes().Short("Bezeichnung1").B(0x06).B(255).str()),
            std::string::npos);
}

TEST(DataGridStream, IntegersTakeTheSmallestWidth) {
  const struct {
    std::int32_t value;
    std::string bytes;
  } cases[] = {
      {127, Bytes().B(0x02).B(0x7F).str()},
      {-128, Bytes().B(0x02).B(0x80).str()},
      {128, Bytes().B(0x03).B(0x80).B(0x00).str()},
      {-32768, Bytes().B(0x03).B(0x00).B(0x80).str()},
      {32768, Bytes().B(0x04).B(0x00).B(0x80).B(0x00).B(0x00).str()},
      {-2147483647 - 1, Bytes().B(0x04).B(0).B(0).B(0).B(0x80).str()},
  };
  for (const auto& c : cases) {
    TExDataGridLines lines;
    lines.Row = c.value;
    const std::string stream = StreamOf(lines);
    EXPECT_EQ(stream.substr(stream.size() - 2 - c.bytes.size(), c.bytes.size()), c.bytes)
        << c.value;
  }
}

TEST(DataGridStream, AlwaysWrittenValuesSitInPropertyOrder) {
  TExDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Second = "S";
  line.TypeLine = "-";
  line.User = "U";
  line.L2 = "L";
  line.Row = 5;
  const std::string stream = StreamOf(lines);
  const auto at = [&](std::string_view name) { return stream.find(Bytes().Short(name).str()); };
  EXPECT_LT(at("Second"), at("DM"));
  EXPECT_LT(at("DM"), at("TypeLine"));
  EXPECT_LT(at("TypeLine"), at("Isnetto"));
  EXPECT_LT(at("Isnetto"), at("User"));
  EXPECT_LT(at("User"), at("Row"));
  EXPECT_LT(at("Row"), at("L2"));
  EXPECT_EQ(stream.find(Bytes().Short("Pos").str()), std::string::npos);
}

TEST(DataGridStream, GuidAndDataFollowTheLinesWhenSet) {
  TExDataGridLines lines;
  lines.GUID = "{G}";
  lines.Data = "D";
  const std::string tail = Bytes()
                               .Short("DataGridLines")
                               .B(0x0E)
                               .B(0)
                               .Short("GUID")
                               .B(0x06)
                               .Short("{G}")
                               .Short("Row")
                               .B(0x02)
                               .B(0)
                               .Short("Data")
                               .B(0x06)
                               .Short("D")
                               .B(0)
                               .B(0)
                               .str();
  const std::string stream = StreamOf(lines);
  EXPECT_EQ(stream.substr(stream.size() - tail.size()), tail);
}

TEST(BuildCfHtml, HeaderOffsetsPointAtDocumentAndFragment) {
  const std::string fragment(1000, 'f');
  const std::string document = BuildCfHtml(fragment);
  EXPECT_EQ(document.size(), 1205u);
  EXPECT_EQ(document.substr(0, 97),
            "Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00001205\r\n"
            "StartFragment:00000172\r\nEndFragment:00001172\r\n");
  EXPECT_EQ(document.substr(97, 7), "<sHtml>");
  EXPECT_EQ(document.substr(172, 1000), fragment);
  EXPECT_EQ(document.substr(1172), "<!--EndFragment--></body></sHtml>");
  EXPECT_EQ(document.substr(97, 75),
            "<sHtml><head><title>HTML clipboard</title></head><body><!--StartFragment-->");
}

TEST(BuildCfHtml, OffsetsStayTrueWhenANumberNeedsANinthDigit) {
  const std::string fragment(99'999'900, 'f');
  const std::string document = BuildCfHtml(fragment);
  const auto number = [&](const std::string& label) {
    const std::size_t at = document.find(label) + label.size();
    return std::stoull(document.substr(at, document.find('\r', at) - at));
  };
  const std::size_t start_html = number("StartHTML:");
  const std::size_t start_fragment = number("StartFragment:");
  EXPECT_EQ(number("EndHTML:"), document.size());
  EXPECT_EQ(document.substr(start_html, 7), "<sHtml>");
  EXPECT_EQ(document.compare(start_fragment, fragment.size(), fragment), 0);
  EXPECT_EQ(number("EndFragment:"), start_fragment + fragment.size());
}

TEST(ClipboardBlock, SizePrefixIsTheLittleEndianCount) {
  EXPECT_EQ(SizePrefix(0x0102), std::string("\x02\x01\x00\x00", 4));
  EXPECT_EQ(SizePrefix(0x0A0B0C0D), "\x0D\x0C\x0B\x0A");
}

TEST(ClipboardItemAt, MakesEachItemTheClipboardIsHanded) {
  TExDataGridLines lines;
  FillWorkedExampleLine(lines.Add());
  RecordingClipboard clipboard;
  ASSERT_TRUE(lines.CopyToClipboard("{id}", clipboard));
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  const std::uint16_t expected[] = {formats.DataGrid, formats.Html, 1, formats.Csv};
  ASSERT_EQ(clipboard.Entries().size(), std::size(expected));
  for (std::size_t index = 0; index < std::size(expected); ++index) {
    const ClipboardItem item = lines.ClipboardItemAt(index, "{id}");
    EXPECT_EQ(item.Format, expected[index]) << index;
    EXPECT_EQ(TDataGridLines::ClipboardItemFormat(index), expected[index]) << index;
    EXPECT_EQ(item.Block, clipboard.Entries()[index].Block) << index;
  }
  // The stream's block begins with the count of the bytes behind it.
  const ByteBuffer stream = lines.ClipboardItemAt(0, "{id}").Block;
  EXPECT_EQ(stream.view().substr(0, 4), SizePrefix(stream.size() - 4));
  EXPECT_EQ(stream.view().substr(4), StreamOf(lines));
  EXPECT_THROW(lines.ClipboardItemAt(std::size(expected), ""), std::out_of_range);
  EXPECT_THROW(TDataGridLines::ClipboardItemFormat(std::size(expected)), std::out_of_range);
}

// A block that is not empty when an item is written into it holds the item alone.
TEST(ClipboardItemAt, AnItemReplacesWhatTheBlockHeld) {
  TExDataGridLines lines;
  FillWorkedExampleLine(lines.Add());
  for (std::size_t index = 0; index < TDataGridLines::kClipboardItemCount; ++index) {
    ByteBuffer block(std::string_view("vorher"));
    lines.WriteClipboardItem(index, "", block);
    EXPECT_EQ(block, lines.ClipboardItemAt(index, "").Block.view()) << index;
  }
}

TEST(CopyToClipboard, PlacesTheFourFormatsInOrder) {
  TExDataGridLines lines;
  FillWorkedExampleLine(lines.Add());
  lines.GUID = "old";
  RecordingClipboard clipboard;
  ASSERT_TRUE(lines.CopyToClipboard("", clipboard));
  EXPECT_EQ(lines.GUID, "");
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  const auto& entries = clipboard.Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].Format, formats.DataGrid);
  EXPECT_EQ(entries[1].Format, formats.Html);
  EXPECT_EQ(entries[2].Format, 1);
  EXPECT_EQ(entries[3].Format, formats.Csv);
  EXPECT_EQ(entries[0].Block.size(), 138u);
  EXPECT_EQ(entries[0].Block.substr(0, 8), std::string("\x86\x00\x00\x00TPF0", 8));
  EXPECT_EQ(entries[1].Block, lines.LinesAsHtml());
  EXPECT_EQ(entries[2].Block, lines.LinesAsText() + std::string(1, '\0'));
  EXPECT_EQ(entries[3].Block, lines.LinesAsCsv());
}

TEST(CopyToClipboard, PlainLinesGiveEmptyTextsWithoutZeroByte) {
  TDataGridLines lines;
  lines.Add().Bezeichnung1 = "x";
  RecordingClipboard clipboard;
  ASSERT_TRUE(lines.CopyToClipboard("{id}", clipboard));
  EXPECT_EQ(clipboard.Entries()[2].Block, "");
  EXPECT_NE(clipboard.Entries()[0].Block.find("{id}"), std::string::npos);
}

class FailingClipboard final : public ClipboardSink {
 public:
  explicit FailingClipboard(std::size_t placed) : placed_(placed) {}
  std::size_t PutClipboardItems(const ClipboardItemSource&) override {
    if (placed_ == 0) throw ClipboardUnavailable();
    return placed_;
  }

 private:
  std::size_t placed_;
};

TEST(CopyToClipboard, ReportsFailureWithoutRaising) {
  TExDataGridLines lines;
  FillWorkedExampleLine(lines.Add());
  FailingClipboard held(0);
  EXPECT_FALSE(lines.CopyToClipboard("", held));
  FailingClipboard partly(3);
  EXPECT_FALSE(lines.CopyToClipboard("", partly));
}

}  // namespace
}  // namespace zw
