// The panel's menu on the right button, worked as a user works it: a right click on the
// panel, then the arrow keys and Enter in the menu.
#include <initializer_list>

#include "app/feedback_colours.h"
#include "base/file_system.h"
#include "e2e/panel_watch.h"
#include "e2e/tool_fixture.h"
#include "proposal/template_proposal.h"
#include "support/demo_data.h"

namespace zw::e2e {
namespace {

// The menu's items from the top; the arrow key's first press selects the first.
constexpr int kExplainItem = 1;
constexpr int kProposeItem = 2;

// A shown popup menu of the process (the system's class "#32768"), or nullptr.
HWND ShownMenuOf(DWORD process_id) {
  struct Search {
    DWORD ProcessId;
    HWND Found;
  } search{process_id, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search.ProcessId || !IsWindowVisible(window)) return TRUE;
        if (std::string(name) != "#32768") return TRUE;
        search.Found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void PressKeys(std::initializer_list<WORD> keys) {
  for (const WORD key : keys) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
  }
}

class PanelMenuTest : public ToolTest {
 protected:
  DWORD ToolProcessId() const {
    DWORD process_id = 0;
    GetWindowThreadProcessId(ToolWindow(), &process_id);
    return process_id;
  }

  // A right click on the panel, away from its buttons; true when the menu opened.
  bool OpenMenu() {
    POINT at{90, 40};
    ClientToScreen(ToolWindow(), &at);
    SetCursorPos(at.x, at.y);
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    return WaitFor([&] { return ShownMenuOf(ToolProcessId()) != nullptr; },
                   std::chrono::seconds(10));
  }

  // Opens the menu and chooses the item, counted from the top; true when the menu closed.
  bool Choose(int item) {
    if (!OpenMenu()) return false;
    for (int press = 0; press < item; ++press) PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    return WaitFor([&] { return ShownMenuOf(ToolProcessId()) == nullptr; },
                   std::chrono::seconds(10));
  }

  // Waits until the tool has opened one more file in Notepad; returns its path or "".
  std::string NextNotepadFile(std::size_t opened_before) {
    std::vector<std::string> files;
    WaitFor([&] { return (files = NotepadFiles()).size() > opened_before; },
            std::chrono::seconds(20));
    return files.size() > opened_before ? files[opened_before] : std::string();
  }
};

TEST_F(PanelMenuTest, ACopyThatNoTemplateFitsIsExplainedAndGetsATemplateOfItsOwn) {
  // Gone first, so that a failure can tell a command that never ran from a Notepad that
  // never started.
  const std::string report_file = SystemTempFolder() + "Zwischenablage-Erklaerung.txt";
  DeleteFileA(report_file.c_str());
  StartTool();
  const std::string calculation = test::DemoCalculation();
  {
    const PanelWatch panel(ToolWindow());
    ASSERT_TRUE(CopyTextUntilRead(calculation));
    ASSERT_TRUE(WaitFor([&] { return panel.Saw(NoMatchColour); }, std::chrono::seconds(30)))
        << "no grey flash";
  }
  RECT before;
  GetWindowRect(ToolWindow(), &before);

  ASSERT_TRUE(Choose(kExplainItem)) << "the menu did not open or close";
  const std::string report = NextNotepadFile(0);
  ASSERT_FALSE(report.empty()) << "no explanation opened; "
                               << (FileExists(report_file) ? "the report was written"
                                                           : "no report was written either");
  EXPECT_EQ(report, report_file);
  const std::string explanation = ReadFileBytes(report);
  EXPECT_NE(explanation.find("\\Vorlagen\\leer.txt\r\n"), std::string::npos) << explanation;
  EXPECT_EQ(explanation.substr(explanation.rfind("\r\n", explanation.size() - 3) + 2),
            "Keine Vorlage ergab Positionen.\r\n");

  ASSERT_TRUE(Choose(kProposeItem)) << "the menu did not open or close";
  const std::string proposal = NextNotepadFile(1);
  EXPECT_EQ(proposal, ToolFolder() + "Vorlagen\\Vorschlag.txt");
  EXPECT_EQ(ReadFileBytes(proposal), ProposeTemplate(calculation, {',', '.', ';'}).Text);
  // The right button never moves the panel.
  RECT after;
  GetWindowRect(ToolWindow(), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);

  ASSERT_TRUE(CopyTextUntilRead(calculation));
  ASSERT_TRUE(WaitForLinesOf(calculation, std::chrono::seconds(30)));
  // The lines a person reads in the calculation, in order.
  const std::string lines = ClipboardText();
  std::size_t at = 0;
  for (const char* expected :
       {"Position=(1,)\r\nMenge=2\r\nEinheit=\r\n=Float 3mm\r\n", "Einzelbetrag=15,20\r\n",
        "Position=\r\nMenge=1\r\nEinheit=\r\n=Kitt und Kleinmaterial\r\n", "Einzelbetrag=6,00\r\n",
        "Position=\r\nMenge=1\r\nEinheit=\r\n=Glasentsorgung\r\n", "Einzelbetrag=3,00\r\n"}) {
    at = lines.find(expected, at);
    ASSERT_NE(at, std::string::npos) << expected << " not in order in\n" << lines;
  }
  EXPECT_EQ(lines.find("Position=", lines.find("=Glasentsorgung")), std::string::npos);
}

TEST_F(PanelMenuTest, BeforeAnyCopyItsItemsForTheLastCopyDoNothing) {
  const std::string report = SystemTempFolder() + "Zwischenablage-Erklaerung.txt";
  DeleteFileA(report.c_str());
  StartTool(Readiness::WindowShown);
  for (const int item : {kExplainItem, kProposeItem}) {
    ASSERT_TRUE(OpenMenu());
    for (int press = 0; press < item; ++press) PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    // A greyed item leaves the menu open.
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(
        WaitFor([&] { return ShownMenuOf(ToolProcessId()) == nullptr; }, std::chrono::seconds(10)));
  }
  // A command the menu had sent would have been handled before this copy is read.
  EXPECT_EQ(RunsUntilSentinelConverted(0), 1);
  EXPECT_FALSE(FileExists(report));
  EXPECT_FALSE(FileExists(ToolFolder() + "Vorlagen\\Vorschlag.txt"));
  EXPECT_TRUE(NotepadFiles().empty());
}

TEST_F(PanelMenuTest, ACopyWithoutATableIsToldWhyNoTemplateCanBeMade) {
  StartTool();
  const std::string letter = "Lieber Kunde,\r\nanbei die Offerte.\r\n";
  std::string why;
  try {
    ProposeTemplate(letter, {',', '.', ';'});
  } catch (const NoTableError& error) {
    why = error.what();
  }
  ASSERT_FALSE(why.empty()) << "the letter holds a table";
  {
    const PanelWatch panel(ToolWindow());
    ASSERT_TRUE(CopyTextUntilRead(letter));
    ASSERT_TRUE(WaitFor([&] { return panel.Saw(NoMatchColour); }, std::chrono::seconds(30)));
  }
  ASSERT_TRUE(Choose(kProposeItem));
  // The window's error report ends every message with a full stop.
  ExpectReport(why.back() == '.' ? why : why + ".", std::chrono::seconds(30));
  EXPECT_FALSE(FileExists(ToolFolder() + "Vorlagen\\Vorschlag.txt"));
  EXPECT_TRUE(NotepadFiles().empty());
}

}  // namespace
}  // namespace zw::e2e
