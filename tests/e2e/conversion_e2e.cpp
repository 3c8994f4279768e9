// Copying a calculation converts it: what the tool places on the real clipboard or posts.
#include <cstring>

#include "app/feedback_colours.h"
#include "base/file_system.h"
#include "e2e/golden_lines.h"
#include "e2e/panel_watch.h"
#include "e2e/tool_fixture.h"
#include "support/demo_data.h"

namespace zw::e2e {
namespace {

using std::chrono::seconds;

std::string DemoRulesWith(const std::string& direct) {
  std::string rules = test::DemoRules();
  const std::string key = "DirectToBrevanta=1";
  rules.replace(rules.find(key), key.size(), "DirectToBrevanta=" + direct);
  return rules;
}

TEST_F(ToolTest, TheDemoLandsOnTheClipboardInFourFormatsByteForByte) {
  AddTemplate("glas.txt", DemoRulesWith("0"));
  StartTool();
  const std::vector<std::string> golden = GoldenDemoBlocks();
  ASSERT_EQ(golden.size(), 4u) << "the golden files are not beside the test executable";
  ASSERT_TRUE(CopyTextUntilRead(test::DemoCalculation()));
  EXPECT_TRUE(WaitForBlocks(golden, seconds(60)));
  EXPECT_EQ(Requests("CANPOSTJSON"), 0);
  // Its own clipboard writes start no further run: the sentinel is the only run after it.
  EXPECT_EQ(RunsUntilSentinelConverted(Requests("TAXH")), 1);
  EXPECT_EQ(Requests("TAXH"), 2);
}

TEST_F(ToolTest, DirectToBrevantaPostsTheOrderAndLeavesTheClipboardEmpty) {
  AddTemplate("glas.txt", DemoRulesWith("1"));
  Server().Answers["CANPOSTJSON"] = "1";
  StartTool();
  ASSERT_TRUE(WaitForIdlePanel());
  const PanelWatch panel(ToolWindow());
  ASSERT_TRUE(CopyTextUntilRead(test::DemoCalculation()));
  // The success flash comes once the lines were delivered, by the post or else the clipboard.
  ASSERT_TRUE(WaitFor([&] { return panel.Saw(SuccessColour); }, seconds(60)));
  EXPECT_EQ(Requests("OUTDATA"), 1);
  const std::string posted = ReadFileBytes(OutDataFile());
  EXPECT_EQ(posted.rfind("{\"Order\":[{\"Parts\":[{\"Price\":\"15,2\"", 0), 0u) << posted;
  EXPECT_NE(posted.find("\"TaxRate\":\"7,5\""), std::string::npos);
  // The frame of the post carries INDEX 11: the bytes of "INDEX", its size 4 and 11.
  const std::string frames = ReadFileBytes(ToolFolder() + "frames.bin");
  const std::string index = std::string("I\0N\0D\0E\0X\0", 10) +
                            std::string("\x04\0\0\0\0\0\0\0", 8) + std::string("\x0B\0\0\0", 4);
  EXPECT_NE(frames.find(index), std::string::npos);
  EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(ToolTest, AnOrderThatDoesNotAcceptLinesGetsThemOnTheClipboard) {
  AddTemplate("glas.txt", DemoRulesWith("1"));
  Server().Answers["CANPOSTJSON"] = "0";
  StartTool();
  ASSERT_TRUE(CopyTextUntilRead(test::DemoCalculation()));
  // A post would come before the lines go to the clipboard.
  ASSERT_TRUE(WaitForLinesOf(test::DemoCalculation(), seconds(60)));
  EXPECT_EQ(Requests("CANPOSTJSON"), 1);
  EXPECT_EQ(Requests("OUTDATA"), 0);
}

// The whole request frame was written, so the order application may have taken the lines:
// the post is not repeated, and the lines go to the clipboard as well.
TEST_F(ToolTest, APostThatFailsIsMadeOnceAndPutsTheLinesOnTheClipboard) {
  AddTemplate("glas.txt", DemoRulesWith("1"));
  Server().Answers["CANPOSTJSON"] = "1";
  Server().FailOutData = true;
  StartTool();
  ASSERT_TRUE(CopyTextUntilRead(test::DemoCalculation()));
  ASSERT_TRUE(WaitForLinesOf(test::DemoCalculation(), seconds(60)));
  EXPECT_EQ(Requests("OUTDATA"), 1);
}

TEST_F(ToolTest, TextThatNoTemplateFitsStaysAndThePanelFlashesGrey) {
  AddTemplate("glas.txt", test::DemoRules());
  StartTool();
  ASSERT_TRUE(WaitForIdlePanel());
  const PanelWatch panel(ToolWindow());
  const std::string text = "nur\tein\tText\r\n";
  ASSERT_TRUE(CopyTextUntilRead(text));
  EXPECT_TRUE(WaitFor([&] { return panel.Saw(NoMatchColour); }, seconds(30))) << "no grey flash";
  EXPECT_TRUE(WaitFor([&] { return panel.SawThen(NoMatchColour, IdleColour); }, seconds(30)))
      << "the grey flash did not end";
  EXPECT_FALSE(panel.Saw(SuccessColour));
  // The run has ended with its flash: the copied text stays as it is.
  EXPECT_EQ(ClipboardOwner(), DriverWindow());
  const std::vector<PlacedFormat> placed = ClipboardFormats();
  ASSERT_FALSE(placed.empty());
  EXPECT_EQ(placed.front().Name, "CF_TEXT");
  EXPECT_EQ(placed.front().Bytes.substr(0, text.size()), text);
  EXPECT_EQ(Requests("TAXH"), 1);
}

TEST_F(ToolTest, ClipboardWithoutTextStartsNoRun) {
  AddTemplate("glas.txt", test::DemoRules());
  StartTool();
  ASSERT_TRUE(OpenClipboard(DriverWindow()));
  EmptyClipboard();
  const UINT private_format = RegisterClipboardFormatA("zw-e2e-picture");
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4);
  SetClipboardData(private_format, memory);
  CloseClipboard();
  EXPECT_EQ(RunsUntilSentinelConverted(0), 1) << "the picture started a run";
}

}  // namespace
}  // namespace zw::e2e

namespace zw::e2e {
namespace {

TEST_F(ToolTest, TextMarkedAsExcludedFromMonitoringIsNeverRead) {
  AddTemplate("glas.txt", test::DemoRules());
  StartTool();
  // A password manager puts this format beside text that clipboard tools must not read.
  ASSERT_TRUE(OpenClipboard(DriverWindow()));
  EmptyClipboard();
  const std::string text = test::DemoCalculation();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  SetClipboardData(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"),
                   GlobalAlloc(GMEM_MOVEABLE, 4));
  CloseClipboard();
  EXPECT_EQ(RunsUntilSentinelConverted(0), 1) << "the excluded text started a run";
}

TEST_F(ToolTest, ATextWithoutTerminatingZeroIsReadToTheEndOfItsMemory) {
  AddTemplate("glas.txt", DemoRulesWith("0"));
  StartTool();
  const std::vector<std::string> golden = GoldenDemoBlocks();
  ASSERT_EQ(golden.size(), 4u) << "the golden files are not beside the test executable";
  const std::string text = test::DemoCalculation();
  // Copied again when the tool lost the change to a clipboard held elsewhere.
  bool read = false;
  for (int attempt = 1; attempt <= 3 && !read; ++attempt) {
    ASSERT_TRUE(OpenClipboard(DriverWindow()));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size());  // no room for a zero byte
    std::memcpy(GlobalLock(memory), text.data(), text.size());
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    read = WaitFor([&] { return Requests("TAXH") >= 1; }, seconds(10));
  }
  ASSERT_TRUE(read);
  EXPECT_TRUE(WaitForBlocks(golden, seconds(60)));
}

}  // namespace
}  // namespace zw::e2e
