// A template folder that cannot be written, template files that others hold open, and
// hostile or many template files: what the tool reports, that it keeps converting afterwards
// and that the copied text stays where no lines replace it.
#include <cstdio>
#include <random>

#include "base/file_system.h"
#include "e2e/fault_tools.h"
#include "e2e/tool_fixture.h"
#include "support/demo_data.h"

namespace zw::e2e {
namespace {

using std::chrono::seconds;

constexpr std::size_t kMegabyte = 1024 * 1024;

class TemplateFaults : public ToolTest {
 protected:
  void Report(const char* fault, double seconds_taken) const {
    std::printf("[fault figures] %-34s %6.2f s  peak %7.1f MB (start %5.1f MB)\n", fault,
                seconds_taken, static_cast<double>(ToolPeakMemory()) / kMegabyte,
                static_cast<double>(PeakBaseline()) / kMegabyte);
  }

  static double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  // The tool's report: the message box with this text, answered with OK.
  void ExpectTextKept(const std::string& text) {
    EXPECT_EQ(ClipboardOwner(), DriverWindow());
    EXPECT_EQ(ClipboardText(), text);
  }

  std::string Folder() const { return ToolFolder() + "Vorlagen"; }
};

TEST_F(TemplateFaults, AFileWhereTheFolderMustBeIsReportedAndTheToolKeepsRunning) {
  ASSERT_TRUE(RemoveDirectoryA(Folder().c_str()));
  WriteFileBytes(Folder(), "kein Ordner");
  // A probe run would meet the report this test expects of its own copy.
  StartMeasured(Readiness::WindowShown);
  const std::string text = test::DemoCalculation();
  const std::string message =
      "Datei " + Folder() + "\\beschreibung.txt kann nicht erstellt werden.";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(CopyTextUntilRead(text));
  ExpectReport(message, seconds(60));
  const double taken = SecondsSince(start);
  ExpectTextKept(text);
  EXPECT_TRUE(ToolRunning());
  // Every copy meets the same report, and nothing is left behind by it.
  ASSERT_TRUE(CopyTextUntilRead(text));
  ExpectReport(message, seconds(60));
  ExpectTextKept(text);
  Report("template folder is a file", taken);
  EXPECT_LT(PeakGrowth(), 32 * kMegabyte);
  // With the folder back the next copy converts.
  ASSERT_TRUE(DeleteFileA(Folder().c_str()));
  ASSERT_TRUE(CreateDirectoryA(Folder().c_str(), nullptr));
  AddTemplate("glas.txt", test::DemoRules());
  ASSERT_TRUE(CopyTextUntilRead(text));
  EXPECT_TRUE(WaitForLinesOf(text, seconds(60)));
}

// The tool reads a template that another program holds open again every 100 ms, 100 times.
TEST_F(TemplateFaults, ALockedTemplateIsWaitedForAndReportedWhenItStaysLocked) {
  AddTemplate("glas.txt", test::DemoRules());
  StartMeasured();
  const std::string text = test::DemoCalculation();
  {
    LockedFile lock(Folder() + "\\glas.txt");
    ASSERT_TRUE(lock.Locked());
    ASSERT_TRUE(CopyTextUntilRead(text));
    Pause(std::chrono::milliseconds(1500));  // some fifteen attempts
    EXPECT_EQ(ClipboardOwner(), DriverWindow()) << "output before the template was read";
  }
  EXPECT_TRUE(WaitForLinesOf(text, seconds(60)));
  EXPECT_EQ(WaitForMessageBox(std::chrono::milliseconds(0)), nullptr);

  const std::string again = text + "\t\t\t\t\t\t\t\t\r\n";  // a change of its own
  LockedFile lock(Folder() + "\\glas.txt");
  ASSERT_TRUE(lock.Locked());
  ASSERT_TRUE(CopyTextUntilRead(again));
  const auto start = std::chrono::steady_clock::now();
  const HWND box = WaitForMessageBox(seconds(60));
  ASSERT_NE(box, nullptr);
  const double taken = SecondsSince(start);
  EXPECT_GT(taken, 9.0) << "fewer than a hundred attempts 100 ms apart";
  EXPECT_EQ(MessageBoxText(box),
            "Datei " + Folder() + "\\glas.txt kann nicht ge\xF6" + "ffnet werden.");
  lock.Release();
  PressOk(box);
  Report("template locked for all retries", taken);
  ExpectTextKept(again);
  EXPECT_LT(PeakGrowth(), 32 * kMegabyte);
  ASSERT_TRUE(CopyTextUntilRead(text));
  EXPECT_TRUE(WaitForLinesOf(text, seconds(60)));
}

TEST_F(TemplateFaults, BinaryAndTenMegabyteTemplatesAreTriedWithoutHarm) {
  std::mt19937 random(2);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string binary(1000 * 1000, '\0');
  for (char& c : binary) c = static_cast<char>(byte(random));
  AddTemplate("a_binaer.txt", binary);
  // Ten megabytes of rules that match nothing, then a required line that never occurs.
  std::string big = "Description1=C\r\nMustContaintsLine=kommt nicht vor\r\n";
  for (int line = 0; big.size() < 10 * 1000 * 1000; ++line) {
    big += "IgnoreLines" + std::to_string(line) + "=Zeile " + std::to_string(line) + "\r\n";
  }
  AddTemplate("b_gross.txt", big);
  AddTemplate("glas.txt", test::DemoRules());
  StartMeasured();
  const std::string text = test::DemoCalculation();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(CopyTextUntilRead(text));
  EXPECT_TRUE(WaitForLinesOf(text, seconds(60)));
  Report("binary and 10 MB templates", SecondsSince(start));
  // The big template's lines and their index, a few times its size.
  EXPECT_LT(PeakGrowth(), 12 * big.size());
  EXPECT_EQ(WaitForMessageBox(std::chrono::milliseconds(0)), nullptr);
  EXPECT_TRUE(ToolRunning());
}

TEST_F(TemplateFaults, AThousandTemplatesWithTheFittingOneLastConvert) {
  // The demo rules with a description column the calculation does not have: each one fills
  // its table and drops every row.
  std::string misfit = test::DemoRules();
  const std::string key = "Description1=C";
  misfit.replace(misfit.find(key), key.size(), "Description1=Z");
  char name[32];
  for (int number = 0; number < 999; ++number) {
    std::snprintf(name, sizeof name, "t%04d.txt", number);
    AddTemplate(name, misfit);
  }
  AddTemplate("zz_glas.txt", test::DemoRules());
  StartMeasured();
  const std::string text = test::DemoCalculation();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(CopyTextUntilRead(text));
  EXPECT_TRUE(WaitForLinesOf(text, seconds(60)));
  Report("1,000 templates, fitting one last", SecondsSince(start));
  EXPECT_LT(PeakGrowth(), 32 * kMegabyte);
}

}  // namespace
}  // namespace zw::e2e
