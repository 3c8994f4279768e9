// The tool's window as the user sees it, and its single instance.
#include "app/feedback_colours.h"
#include "e2e/panel_watch.h"
#include "e2e/tool_fixture.h"
#include "support/demo_data.h"

// After windows.h, which the fixture brings.
#include <shellapi.h>

namespace zw::e2e {
namespace {

TEST_F(ToolTest, ASecondStartEndsAtOnceAndTheFirstKeepsRunning) {
  StartTool();
  test::ChildProcess second(ToolFolder() + "Zwischenablage.exe", {});
  EXPECT_EQ(second.Wait(std::chrono::seconds(20)), 0);
  EXPECT_TRUE(IsWindow(ToolWindow()));
  EXPECT_EQ(FindWindowExA(nullptr, ToolWindow(), "TInMainFrm", nullptr), nullptr);
}

TEST_F(ToolTest, TheWindowIsTheTranslucentRoundedPanel) {
  StartTool();
  char caption[64] = {};
  GetWindowTextA(ToolWindow(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Zwischenablage");
  RECT client;
  GetClientRect(ToolWindow(), &client);
  EXPECT_EQ(client.right - client.left, 182);
  EXPECT_EQ(client.bottom - client.top, 88);
  EXPECT_TRUE(GetWindowLongPtrA(ToolWindow(), GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(ToolWindow(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_TRUE(flags & LWA_ALPHA);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(ToolWindow(), region), ERROR);
  RECT box;
  GetRgnBox(region, &box);
  DeleteObject(region);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.top, 5);
  EXPECT_TRUE(WaitForIdlePanel());
}

TEST_F(ToolTest, TheWindowSnapsToTheDesktopEdgesAndCannotLeaveIt) {
  StartTool();
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);

  const auto move_to = [&](int x, int y) {
    SetWindowPos(ToolWindow(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT bounds;
    GetWindowRect(ToolWindow(), &bounds);
    return bounds;
  };
  EXPECT_EQ(move_to(work.left + 2, 300).left, work.left);
  EXPECT_EQ(move_to(work.left + 4, 300).left, work.left + 4);
  EXPECT_EQ(move_to(300, work.top + 2).top, work.top);
  EXPECT_EQ(move_to(work.right - 100, 300).right, work.right);
  // A taskbar at the bottom (Wine reports a thin one) pushes the window up onto its top edge.
  LONG bottom = work.bottom;
  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar) && bar.uEdge == ABE_BOTTOM && bar.rc.top < bottom) {
    bottom = bar.rc.top;
  }
  EXPECT_EQ(move_to(300, work.bottom + 50).bottom, bottom);
  EXPECT_EQ(move_to(-500, -500).left, work.left);
}

TEST_F(ToolTest, SuccessFlashesLightBlueThenIdle) {
  AddTemplate("glas.txt", test::DemoRules());
  StartTool();
  ASSERT_TRUE(WaitForIdlePanel());
  const PanelWatch panel(ToolWindow());
  ASSERT_TRUE(CopyTextUntilRead(test::DemoCalculation()));
  EXPECT_TRUE(WaitFor([&] { return panel.Saw(SuccessColour); }, std::chrono::seconds(30)))
      << "no blue flash";
  EXPECT_TRUE(
      WaitFor([&] { return panel.SawThen(SuccessColour, IdleColour); }, std::chrono::seconds(30)))
      << "the blue flash did not end";
  EXPECT_FALSE(panel.Saw(NoMatchColour));
}

}  // namespace
}  // namespace zw::e2e

namespace zw::e2e {
namespace {

TEST_F(ToolTest, TheFolderButtonWritesTheShippedFilesIntoANewFolder) {
  StartTool();
  const std::string folder = ToolFolder() + "Vorlagen";
  DeleteFileA((folder + "\\leer.txt").c_str());
  DeleteFileA((folder + "\\demo.txt").c_str());
  DeleteFileA((folder + "\\beschreibung.txt").c_str());
  RemoveDirectoryA(folder.c_str());
  ASSERT_FALSE(GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES);
  // A click on "E" (left 123, top 10, 25 x 25).
  const LPARAM at = MAKELPARAM(135, 22);
  PostMessageA(ToolWindow(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(ToolWindow(), WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(WaitFor(
      [&] {
        return GetFileAttributesA((folder + "\\beschreibung.txt").c_str()) !=
                   INVALID_FILE_ATTRIBUTES &&
               GetFileAttributesA((folder + "\\leer.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
      },
      std::chrono::seconds(10)));
  EXPECT_TRUE(IsWindow(ToolWindow()));
  // The explorer showing the folder must not outlive the test: it is ended once it runs.
  EXPECT_TRUE(WaitFor([&] { return ToolStartedAProgram(); }, std::chrono::seconds(60)))
      << "no explorer for the folder";
  EndProgramsStartedByTheTool();
}

}  // namespace
}  // namespace zw::e2e
