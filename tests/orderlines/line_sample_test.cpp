#include "orderlines/line_sample.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

#include "base/text_sink.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/uDataGridLines.h"

namespace zw {
namespace {

// Lines whose Bezeichnung1 is `length(index)` bytes long.
template <class Length>
void FillLines(TCustomDataGridLines& lines, int count, Length length) {
  for (int i = 0; i < count; ++i) lines.Add().Bezeichnung1 = std::string(length(i), 'x');
}

std::size_t DescriptionBytes(const TDataGridLine& line) { return line.Bezeichnung1.size(); }

TEST(EstimatedLineSum, IsExactUpToTheSampledLinesAndScalesEvenLinesExactly) {
  const struct {
    int Count;
    std::size_t Length;
    std::size_t Expected;
  } cases[] = {{0, 9, 0}, {1, 9, 9}, {256, 3, 768}, {257, 4, 1028}, {100000, 20, 2000000}};
  for (const auto& c : cases) {
    TDataGridLines lines;
    FillLines(lines, c.Count, [&](int) { return c.Length; });
    EXPECT_EQ(EstimatedLineSum(lines, DescriptionBytes), c.Expected) << c.Count;
  }
}

TEST(EstimatedLineSum, ReadsEveryLineOfAShortCopy) {
  TDataGridLines lines;
  FillLines(lines, 256, [](int i) { return static_cast<std::size_t>(i); });
  EXPECT_EQ(EstimatedLineSum(lines, DescriptionBytes), 255u * 256u / 2u);
}

TEST(EstimatedLineSum, FollowsLinesThatGrowOverTheCopy) {
  // 0 to 9,999 bytes: 49,995,000 in all; the lines read are spread over the whole copy.
  TDataGridLines lines;
  FillLines(lines, 10000, [](int i) { return static_cast<std::size_t>(i); });
  const auto estimate = static_cast<double>(EstimatedLineSum(lines, DescriptionBytes));
  EXPECT_NEAR(estimate, 49995000.0, 49995000.0 * 0.01);
}

TEST(RenderingsBeyondTheirEstimate, StayTheLinesBlockByBlock) {
  // Only lines the estimate never reads carry long texts, so every writer outgrows its room;
  // each rendering still holds exactly the blocks of the lines one by one.
  TExDataGridLines lines;
  TExDataGridLines alone[1000];
  std::vector<bool> read(1000);
  for (int k = 0; k < kSampledLines; ++k) read[k * 1000 / kSampledLines] = true;
  for (int i = 0; i < 1000; ++i) {
    const bool sampled = read[i];
    for (TExDataGridLines* target : {&lines, &alone[i]}) {
      TDataGridLine& line = target->Add();
      line.Pos = std::to_string(i + 1);
      line.Stueck = "1";
      line.Einzelbetrag = "2,5";
      line.Bezeichnung1 = sampled ? "kurz" : std::string(3000, 'a' + i % 26);
      line.Second = sampled ? "" : std::string(2000, '\xB2');
    }
  }
  std::string text;
  std::string csv_records;
  for (const TExDataGridLines& line : alone) {
    text += line.LinesAsText();
    const std::string csv = line.LinesAsCsv();
    csv_records += csv.substr(csv.find("\r\n"));
  }
  ASSERT_LT(lines.RenderingSizeHint(Rendering::Text), text.size());
  ASSERT_LT(lines.RenderingSizeHint(Rendering::Csv), csv_records.size());
  ASSERT_LT(lines.RenderingSizeHint(Rendering::HtmlTable), lines.LinesAsHtml().size());
  EXPECT_EQ(lines.LinesAsText(), text);
  const std::string csv = lines.LinesAsCsv();
  EXPECT_EQ(csv.substr(csv.find("\r\n")), csv_records);
  // Every block the same as written in pieces, where no room is estimated.
  for (std::size_t index = 0; index < TDataGridLines::kClipboardItemCount; ++index) {
    std::ostringstream pieces;
    StreamSink sink(pieces);
    lines.WriteClipboardBlock(index, "", sink);
    sink.Finish();
    EXPECT_EQ(lines.ClipboardItemAt(index, "").Block, pieces.str()) << index;
  }
}

}  // namespace
}  // namespace zw
