// The real Windows clipboard: what CopyToClipboard places, read back as another program would.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "orderlines/scoped_clipboard.h"
#include "orderlines/system_clipboard.h"
#include "orderlines/uDataGridLines.h"
#include "support/clipboard_reader_win32.h"
#include "support/fake_sleeper.h"

namespace zw {
namespace {

class OwnerWindow {
 public:
  OwnerWindow()
      : window_(CreateWindowExA(0, "STATIC", "zw-test", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, nullptr)) {}
  ~OwnerWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// Places text on the open clipboard, as a program that copies does.
void PlaceText(const std::string& text) {
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  auto* bytes = static_cast<char*>(GlobalLock(memory));
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  if (SetClipboardData(CF_TEXT, memory) == nullptr) GlobalFree(memory);
}

// Another program's window holds the clipboard open until released; with a text, it copies
// that text just before it lets go.
class ClipboardHeldElsewhere {
 public:
  explicit ClipboardHeldElsewhere(std::string copied = {})
      : thread_([this, copied] {
          OwnerWindow owner;
          if (OpenClipboard(owner.get())) {
            held_ = true;
            while (!release_) Sleep(1);
            if (!copied.empty()) PlaceText(copied);
            CloseClipboard();
          }
          held_ = true;  // also when opening failed: nobody waits forever
        }) {
    while (!held_) Sleep(1);
  }
  ~ClipboardHeldElsewhere() { Release(); }
  // Closes the clipboard and returns once it is closed.
  void Release() {
    release_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::atomic<bool> held_{false};
  std::atomic<bool> release_{false};
  std::thread thread_;
};

using test::PlacedFormat;
using test::ReadClipboard;

void AddDemoLine(TExDataGridLines& lines) {
  TDataGridLine& line = lines.Add();
  line.Pos = "1";
  line.Stueck = "2";
  line.Bezeichnung1 = "Float 3mm";
  line.Einzelbetrag = "15,2";
  line.Steuer = "8";
  line.Second = "Masse in mm: 500 X 400 = 0,40 m\xB2";
  line.Isnetto = true;
}

TEST(SystemClipboardWin32, HoldsTheFourFormatsInOrderWithTheirBytes) {
  OwnerWindow owner;
  ASSERT_NE(owner.get(), nullptr);
  TExDataGridLines lines;
  AddDemoLine(lines);
  RecordingClipboard expected;
  ASSERT_TRUE(lines.CopyToClipboard("", expected));

  const auto clipboard = MakeSystemClipboard(owner.get());
  ASSERT_TRUE(lines.CopyToClipboard("", *clipboard));
  const std::vector<PlacedFormat> placed = ReadClipboard(owner.get());
  ASSERT_GE(placed.size(), 4u);
  const char* const names[] = {"CF_DATAGRIDDATA", "HTML Format", "CF_TEXT", "CSV"};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(placed[i].Name, names[i]) << i;
    const std::string& block = expected.Entries()[i].Block;
    // The system may round a memory block up; the bytes asked for come first.
    ASSERT_GE(placed[i].Bytes.size(), block.size()) << names[i];
    EXPECT_EQ(placed[i].Bytes.substr(0, block.size()), block) << names[i];
  }
  const std::string& text = placed[2].Bytes;
  const std::size_t key_text = lines.LinesAsText().size();
  ASSERT_GT(text.size(), key_text);
  EXPECT_EQ(text[key_text], '\0');
  EXPECT_EQ(placed[0].Bytes.substr(4, 4), "TPF0");
  EXPECT_EQ(GetClipboardOwner(), owner.get());
}

TEST(SystemClipboardWin32, WaitsForAnotherProgramThatHoldsTheClipboard) {
  OwnerWindow owner;
  ClipboardHeldElsewhere other;

  test::FakeSleeper sleeper;
  sleeper.on_sleep = [&] {
    if (sleeper.pauses.size() == 3) {
      other.Release();
    }
  };
  TExDataGridLines lines;
  AddDemoLine(lines);
  const auto clipboard = MakeSystemClipboard(owner.get(), sleeper);
  EXPECT_TRUE(lines.CopyToClipboard("", *clipboard));
  other.Release();
  EXPECT_EQ(sleeper.pauses.size(), 3u);
  EXPECT_EQ(sleeper.pauses.front(), std::chrono::milliseconds(30));
}

TEST(SystemClipboardWin32, GivesUpAfterTenAttempts) {
  OwnerWindow owner;
  ClipboardHeldElsewhere other;
  test::FakeSleeper sleeper;
  TExDataGridLines lines;
  AddDemoLine(lines);
  const auto clipboard = MakeSystemClipboard(owner.get(), sleeper);
  EXPECT_FALSE(lines.CopyToClipboard("", *clipboard));
  other.Release();
  EXPECT_EQ(sleeper.pauses.size(), 9u);
}

// The text a program copied while the output waited for the clipboard is newer than the
// lines: the output, deciding while it holds the clipboard, leaves it there.
TEST(SystemClipboardWin32, GivesWayToACopyMadeWhileItWaitedForTheClipboard) {
  OwnerWindow owner;
  {
    ScopedClipboard clipboard(owner.get(), {10, std::chrono::milliseconds(30)});
    clipboard.Empty();
  }
  const std::uint32_t taken = GetClipboardSequenceNumber();
  ClipboardHeldElsewhere other("neuere Kopie");
  test::FakeSleeper sleeper;
  sleeper.on_sleep = [&] { other.Release(); };
  TExDataGridLines lines;
  AddDemoLine(lines);
  const auto clipboard = MakeSystemClipboard(owner.get(), sleeper);
  clipboard->PlaceOnlyAtSequence(taken);
  EXPECT_FALSE(lines.CopyToClipboard("", *clipboard));
  EXPECT_TRUE(clipboard->GaveWay());
  EXPECT_EQ(sleeper.pauses.size(), 1u);
  const std::vector<PlacedFormat> placed = ReadClipboard(owner.get());
  ASSERT_FALSE(placed.empty());
  EXPECT_EQ(placed[0].Name, "CF_TEXT");
  EXPECT_EQ(placed[0].Bytes.substr(0, 13), std::string("neuere Kopie", 13));
  EXPECT_NE(GetClipboardOwner(), owner.get());

  // Nothing copied since: the lines are placed.
  {
    ScopedClipboard held(owner.get(), {10, std::chrono::milliseconds(30)});
    held.Empty();
  }
  clipboard->PlaceOnlyAtSequence(GetClipboardSequenceNumber());
  EXPECT_TRUE(lines.CopyToClipboard("", *clipboard));
  EXPECT_FALSE(clipboard->GaveWay());
  EXPECT_EQ(GetClipboardOwner(), owner.get());
}

// Four items, of which the one at `failing` cannot be made.
class ItemsFailingAt final : public ClipboardItemSource {
 public:
  explicit ItemsFailingAt(std::size_t failing) : failing_(failing) {}
  std::size_t ItemCount() const override { return 4; }
  std::uint16_t ItemFormat(std::size_t index) const override {
    return TDataGridLines::ClipboardItemFormat(index);
  }
  void WriteItem(std::size_t index, GrowableBlock& block) const override {
    const std::string item = std::string("item ") + static_cast<char>('0' + index) + '\0';
    std::memcpy(block.Resize(item.size()), item.data(), item.size());
    // The memory is taken before the item turns out not to be writable.
    if (index == failing_) throw std::bad_alloc();
  }

 private:
  std::size_t failing_;
};

// Each item is made only when the clipboard takes it; one that cannot be made ends the
// output with the clipboard closed, and the first is made before the clipboard is emptied.
TEST(SystemClipboardWin32, AnItemThatCannotBeMadeEndsTheOutputWithTheClipboardClosed) {
  OwnerWindow owner;
  const auto clipboard = MakeSystemClipboard(owner.get());
  const struct {
    std::size_t Failing;
    const char* Names[2];  // what the clipboard then holds first
  } cases[] = {{0, {"CF_TEXT", nullptr}}, {2, {"CF_DATAGRIDDATA", "HTML Format"}}};
  for (const auto& c : cases) {
    {
      OwnerWindow other;
      ASSERT_TRUE(OpenClipboard(other.get()));
      PlaceText("kopiert");
      CloseClipboard();
    }
    EXPECT_THROW(clipboard->PutClipboardItems(ItemsFailingAt(c.Failing)), std::bad_alloc);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << c.Failing;
    const std::vector<PlacedFormat> placed = ReadClipboard(owner.get());
    ASSERT_FALSE(placed.empty()) << c.Failing;
    EXPECT_EQ(placed[0].Name, c.Names[0]) << c.Failing;
    if (c.Names[1] == nullptr) {
      EXPECT_EQ(placed[0].Bytes.substr(0, 8), std::string("kopiert", 8));
    } else {
      ASSERT_GE(placed.size(), 2u);
      EXPECT_EQ(placed[1].Name, c.Names[1]);
      EXPECT_EQ(placed[1].Bytes.substr(0, 7), std::string("item 1", 7));
      for (const PlacedFormat& format : placed) EXPECT_NE(format.Name, "CF_TEXT");
    }
  }
}

TEST(ScopedClipboardWin32, AReadThatThrowsLeavesTheClipboardClosed) {
  OwnerWindow owner;
  const auto read_and_fail = [&] {
    const ScopedClipboard clipboard(owner.get(), {1, std::chrono::milliseconds(0)});
    const std::string text = clipboard.Text();
    throw std::bad_alloc();
  };
  EXPECT_THROW(read_and_fail(), std::bad_alloc);
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
  // Another program can copy at once.
  OwnerWindow other;
  ASSERT_TRUE(OpenClipboard(other.get()));
  PlaceText("danach");
  CloseClipboard();
  const ScopedClipboard clipboard(owner.get(), {1, std::chrono::milliseconds(0)});
  EXPECT_EQ(clipboard.Text(), "danach");
  EXPECT_TRUE(clipboard.HoldsText("danach"));
  EXPECT_FALSE(clipboard.HoldsText("danac"));
}

TEST(ScopedClipboardWin32, AClipboardHeldForAllAttemptsIsTheGermanError) {
  OwnerWindow owner;
  ClipboardHeldElsewhere other;
  test::FakeSleeper sleeper;
  try {
    const ScopedClipboard clipboard(owner.get(), {4, std::chrono::milliseconds(25)}, sleeper);
    ADD_FAILURE() << "opened a clipboard held elsewhere";
  } catch (const ClipboardUnavailable& error) {
    EXPECT_STREQ(error.what(),
                 "Zwischenablage kann nicht ge\xF6"
                 "ffnet werden");
  }
  other.Release();
  EXPECT_EQ(sleeper.pauses,
            (std::vector<std::chrono::milliseconds>(3, std::chrono::milliseconds(25))));
}

}  // namespace
}  // namespace zw
