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

TEST_F(ToolTest, AServerThatFallsSilentOnThePostGetsTheLinesOnTheClipboard) {
  AddTemplate("glas.txt", test::DemoRules());  // DirectToBrevanta=1
  Server().Answers["CANPOSTJSON"] = "1";
  Server().Silent.insert("OUTDATA");
  StartTool();
  const auto copied = std::chrono::steady_clock::now();
  CopyText(test::DemoCalculation());
  ASSERT_TRUE(WaitForRun(1));
  // Three attempts that each wait out the five-second time-out, then the clipboard.
  ASSERT_TRUE(WaitFor([&] { return ClipboardFormats().size() >= 4; }, std::chrono::seconds(60)));
  const auto took = std::chrono::steady_clock::now() - copied;
  std::cout << "[ figures  ] silent OUTDATA: lines on the clipboard after "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms\n";
  EXPECT_EQ(Requests("OUTDATA"), 3);
  const std::vector<std::string> expected = ExpectedBlocks(test::DemoCalculation());
  ASSERT_EQ(expected.size(), 4u);
  const std::vector<PlacedFormat> placed = ClipboardFormats();
  ASSERT_GE(placed.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    ASSERT_GE(placed[i].Bytes.size(), expected[i].size()) << placed[i].Name;
    EXPECT_EQ(placed[i].Bytes.substr(0, expected[i].size()), expected[i]) << placed[i].Name;
  }
  EXPECT_TRUE(Responds(ToolWindow()));
  EXPECT_EQ(Requests("TAXH"), 1);
}

TEST_F(ToolTest, BrokenAnswersToTaxAndCanPostGiveLinesWithoutTaxOnTheClipboard) {
  AddTemplate("glas.txt", test::DemoRules());  // DirectToBrevanta=1
  Server().Answers["CANPOSTJSON"] = "1";
  Server().DeclaredSize["TAXH"] = 1LL << 40;
  Server().CutFrame["CANPOSTJSON"] = "header";
  StartTool();
  CopyText(test::DemoCalculation());
  // Each request fails at once, three times, instead of waiting for a time-out.
  ASSERT_TRUE(WaitFor([&] { return Requests("CANPOSTJSON") == 3; }, std::chrono::seconds(20)));
  ASSERT_TRUE(WaitFor([&] { return ClipboardFormats().size() >= 4; }, std::chrono::seconds(20)));
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
