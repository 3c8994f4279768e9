// The order application's exchange server misbehaves while the tool converts: the copied
// lines still reach the clipboard, and the tool stays responsive afterwards.
#include <chrono>
#include <iostream>

#include "e2e/tool_fixture.h"
#include "support/demo_data.h"

namespace zw::e2e {
namespace {

// The window answers messages again: its thread is not stuck in a request.
bool Responds(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// The post's whole frame was written before the server fell silent: the order application
// may have the lines, so the post is made once; the lines go to the clipboard as well.
TEST_F(ToolTest, AServerThatFallsSilentOnThePostGetsOnePostAndTheLinesOnTheClipboard) {
  AddTemplate("glas.txt", test::DemoRules());  // DirectToBrevanta=1
  Server().Answers["CANPOSTJSON"] = "1";
  Server().Silent.insert("OUTDATA");
  StartTool();
  const auto copied = std::chrono::steady_clock::now();
  ASSERT_TRUE(CopyTextUntilRead(test::DemoCalculation()));
  // The post waits out the five-second time-out, then the lines go to the clipboard.
  ASSERT_TRUE(WaitForLinesOf(test::DemoCalculation(), std::chrono::seconds(60)));
  const auto took = std::chrono::steady_clock::now() - copied;
  std::cout << "[ figures  ] silent OUTDATA: lines on the clipboard after "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms\n";
  EXPECT_EQ(Requests("OUTDATA"), 1);
  EXPECT_TRUE(Responds(ToolWindow()));
  EXPECT_EQ(Requests("TAXH"), 1);
}

// The order application answers the post only after the tool's five seconds: the post is
// made once, and the lines go to the clipboard as well.
TEST_F(ToolTest, APostAnsweredTooLateIsMadeOnceAndTheLinesGoToTheClipboard) {
  AddTemplate("glas.txt", test::DemoRules());  // DirectToBrevanta=1
  Server().Answers["CANPOSTJSON"] = "1";
  Server().AnswerDelayMs["OUTDATA"] = 7000;
  StartTool();
  ASSERT_TRUE(CopyTextUntilRead(test::DemoCalculation()));
  ASSERT_TRUE(WaitForLinesOf(test::DemoCalculation(), std::chrono::seconds(60)));
  // The server serves one connection after the other: once the sentinel's run was answered,
  // the late post is over, and no second post waits behind it.
  EXPECT_GE(RunsUntilSentinelConverted(Requests("TAXH")), 1);
  EXPECT_EQ(Requests("OUTDATA"), 1);
  EXPECT_EQ(Requests("CANPOSTJSON"), 1);
  EXPECT_TRUE(Responds(ToolWindow()));
}

TEST_F(ToolTest, BrokenAnswersToTaxAndCanPostGiveLinesWithoutTaxOnTheClipboard) {
  AddTemplate("glas.txt", test::DemoRules());  // DirectToBrevanta=1
  Server().Answers["CANPOSTJSON"] = "1";
  Server().DeclaredSize["TAXH"] = 1LL << 40;
  Server().CutFrame["CANPOSTJSON"] = "header";
  StartTool();
  ASSERT_TRUE(CopyTextUntilRead(test::DemoCalculation()));
  // Each request fails at once, three times, instead of waiting for a time-out; the lines
  // follow the last attempt.
  ASSERT_TRUE(WaitForToolLines(std::chrono::seconds(60)));
  EXPECT_EQ(Requests("CANPOSTJSON"), 3);
  EXPECT_EQ(Requests("TAXH"), 3);
  EXPECT_EQ(Requests("OUTDATA"), 0);
  const std::vector<PlacedFormat> placed = ClipboardFormats();
  ASSERT_EQ(placed[2].Name, "CF_TEXT");
  // The key text of every line: no tax from the broken answer, the lines themselves intact.
  EXPECT_EQ(Occurrences(placed[2].Bytes, "Steuer=\r\n"), 3);
  EXPECT_EQ(Occurrences(placed[2].Bytes, "Steuer=7,5"), 0);
  EXPECT_EQ(Occurrences(placed[2].Bytes, "Beschreibung="), 3);
  EXPECT_TRUE(Responds(ToolWindow()));
}

}  // namespace
}  // namespace zw::e2e
