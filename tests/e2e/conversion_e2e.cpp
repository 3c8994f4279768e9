// Copying a calculation converts it: what the tool places on the real clipboard or posts.
#include <cstring>

#include "app/feedback_colours.h"
#include "base/file_system.h"
#include "e2e/tool_fixture.h"
#include "support/demo_data.h"

namespace zw::e2e {
namespace {

std::string DemoRulesWith(const std::string& direct) {
  std::string rules = test::DemoRules();
  const std::string key = "DirectToBrevanta=1";
  rules.replace(rules.find(key), key.size(), "DirectToBrevanta=" + direct);
  return rules;
}

TEST_F(ToolTest, TheDemoLandsOnTheClipboardInFourFormatsByteForByte) {
  AddTemplate("glas.txt", DemoRulesWith("0"));
  StartTool();
  CopyText(test::DemoCalculation());
  ASSERT_TRUE(WaitForRun(1));
  const std::vector<std::string> expected = ExpectedBlocks(test::DemoCalculation());
  ASSERT_EQ(expected.size(), 4u);
  ASSERT_TRUE(WaitFor([&] { return ClipboardFormats().size() >= 4; }, std::chrono::seconds(10)));
  const std::vector<PlacedFormat> placed = ClipboardFormats();
  const char* const names[] = {"CF_DATAGRIDDATA", "HTML Format", "CF_TEXT", "CSV"};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(placed[i].Name, names[i]);
    ASSERT_GE(placed[i].Bytes.size(), expected[i].size()) << names[i];
    EXPECT_EQ(placed[i].Bytes.substr(0, expected[i].size()), expected[i]) << names[i];
  }
  // The server's tax is in every line; the key text shows it three times.
  std::size_t taxes = 0;
  for (std::size_t at = placed[2].Bytes.find("Steuer=7,5\r\n"); at != std::string::npos;
       at = placed[2].Bytes.find("Steuer=7,5\r\n", at + 1)) {
    ++taxes;
  }
  EXPECT_EQ(taxes, 3u);
  // Its own clipboard writes start no further run.
  Pause(std::chrono::milliseconds(1000));
  EXPECT_EQ(Requests("TAXH"), 1);
  EXPECT_EQ(Requests("CANPOSTJSON"), 0);
}

TEST_F(ToolTest, DirectToBrevantaPostsTheOrderAndLeavesTheClipboardEmpty) {
  AddTemplate("glas.txt", DemoRulesWith("1"));
  Server().Answers["CANPOSTJSON"] = "1";
  StartTool();
  CopyText(test::DemoCalculation());
  ASSERT_TRUE(WaitForRun(1));
  ASSERT_TRUE(WaitFor([&] { return Requests("OUTDATA") == 1; }, std::chrono::seconds(10)));
  const std::string posted = ReadFileBytes(OutDataFile());
  EXPECT_EQ(posted.rfind("{\"Order\":[{\"Parts\":[{\"Price\":\"15,2\"", 0), 0u) << posted;
  EXPECT_NE(posted.find("\"TaxRate\":\"7,5\""), std::string::npos);
  // The frame of the post carries INDEX 11: the bytes of "INDEX", its size 4 and 11.
  const std::string frames = ReadFileBytes(ToolFolder() + "frames.bin");
  const std::string index = std::string("I\0N\0D\0E\0X\0", 10) +
                            std::string("\x04\0\0\0\0\0\0\0", 8) + std::string("\x0B\0\0\0", 4);
  EXPECT_NE(frames.find(index), std::string::npos);
  EXPECT_TRUE(ClipboardFormats().empty());
}

TEST_F(ToolTest, AnOrderThatDoesNotAcceptLinesGetsThemOnTheClipboard) {
  AddTemplate("glas.txt", DemoRulesWith("1"));
  Server().Answers["CANPOSTJSON"] = "0";
  StartTool();
  CopyText(test::DemoCalculation());
  ASSERT_TRUE(WaitForRun(1));
  ASSERT_TRUE(WaitFor([&] { return ClipboardFormats().size() >= 4; }, std::chrono::seconds(10)));
  EXPECT_EQ(Requests("CANPOSTJSON"), 1);
  EXPECT_EQ(Requests("OUTDATA"), 0);
}

TEST_F(ToolTest, APostThatFailsPutsTheLinesOnTheClipboard) {
  AddTemplate("glas.txt", DemoRulesWith("1"));
  Server().Answers["CANPOSTJSON"] = "1";
  Server().FailOutData = true;
  StartTool();
  CopyText(test::DemoCalculation());
  ASSERT_TRUE(WaitForRun(1));
  ASSERT_TRUE(WaitFor([&] { return ClipboardFormats().size() >= 4; }, std::chrono::seconds(20)));
  EXPECT_EQ(Requests("OUTDATA"), 3);
  EXPECT_EQ(ClipboardFormats()[0].Name, "CF_DATAGRIDDATA");
}

TEST_F(ToolTest, TextThatNoTemplateFitsStaysAndThePanelFlashesGrey) {
  AddTemplate("glas.txt", test::DemoRules());
  StartTool();
  const std::string text = "nur\tein\tText\r\n";
  CopyText(text);
  ASSERT_TRUE(WaitFor([&] { return Requests("TAXH") == 1; }, std::chrono::seconds(20)));
  EXPECT_TRUE(
      WaitFor([&] { return PanelColour() == NoMatchColour; }, std::chrono::milliseconds(400)));
  EXPECT_TRUE(
      WaitFor([&] { return PanelColour() == IdleColour; }, std::chrono::milliseconds(1500)));
  EXPECT_EQ(ClipboardOwner(), DriverWindow());
  const std::vector<PlacedFormat> placed = ClipboardFormats();
  ASSERT_FALSE(placed.empty());
  EXPECT_EQ(placed.front().Name, "CF_TEXT");
  EXPECT_EQ(placed.front().Bytes.substr(0, text.size()), text);
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
  Pause(std::chrono::milliseconds(1500));
  EXPECT_EQ(Requests("TAXH"), 0);
  EXPECT_EQ(PanelColour(), IdleColour);
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
  Pause(std::chrono::milliseconds(1500));
  EXPECT_EQ(Requests("TAXH"), 0);
  EXPECT_EQ(ClipboardOwner(), DriverWindow());
}

TEST_F(ToolTest, ATextWithoutTerminatingZeroIsReadToTheEndOfItsMemory) {
  AddTemplate("glas.txt", test::DemoRules());
  Server().Answers["CANPOSTJSON"] = "0";
  StartTool();
  ASSERT_TRUE(OpenClipboard(DriverWindow()));
  EmptyClipboard();
  const std::string text = test::DemoCalculation();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size());  // no room for a zero byte
  std::memcpy(GlobalLock(memory), text.data(), text.size());
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  ASSERT_TRUE(WaitForRun(1));
  ASSERT_TRUE(WaitFor([&] { return ClipboardFormats().size() >= 4; }, std::chrono::seconds(10)));
  const std::vector<std::string> expected = ExpectedBlocks(text);
  ASSERT_EQ(expected.size(), 4u);
  EXPECT_EQ(ClipboardFormats()[2].Bytes.substr(0, expected[2].size()), expected[2]);
}

}  // namespace
}  // namespace zw::e2e
