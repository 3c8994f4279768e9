#include <windows.h>

#include "orderlines/global_memory_block_win32.h"
#include "orderlines/scoped_clipboard.h"
#include "orderlines/system_clipboard.h"

namespace zw {
namespace {

constexpr ClipboardRetries kOutputRetries{10, std::chrono::milliseconds(30)};

class WindowsClipboard final : public SystemClipboard {
 public:
  WindowsClipboard(HWND owner, Sleeper& sleeper) : owner_(owner), sleeper_(sleeper) {}

  void PlaceOnlyAtSequence(std::uint32_t sequence) override { expected_sequence_ = sequence; }
  bool GaveWay() const override { return gave_way_; }

  std::size_t PutClipboardItems(const ClipboardItemSource& items) override {
    gave_way_ = false;
    ScopedClipboard clipboard(owner_, kOutputRetries, sleeper_);
    if (expected_sequence_ != 0 && clipboard.Sequence() != expected_sequence_) {
      gave_way_ = true;
      return 0;
    }
    bool emptied = false;
    std::size_t placed = 0;
    for (std::size_t index = 0; index < items.ItemCount(); ++index) {
      // Written only now, straight into the memory the clipboard keeps: a large copy holds one
      // item at a time, and once. The first is written before the clipboard is emptied, so a
      // copy that cannot be made leaves the clipboard as it was.
      GlobalMemoryBlock block;
      items.WriteItem(index, block);
      HGLOBAL memory = block.Release();
      if (memory == nullptr) continue;
      if (!emptied) {
        clipboard.Empty();
        emptied = true;
      }
      // Once handed over, the clipboard owns the memory.
      if (SetClipboardData(items.ItemFormat(index), memory) == nullptr) {
        GlobalFree(memory);
        continue;
      }
      ++placed;
    }
    return placed;
  }

 private:
  HWND owner_;
  Sleeper& sleeper_;
  std::uint32_t expected_sequence_ = 0;
  bool gave_way_ = false;
};

}  // namespace

std::unique_ptr<SystemClipboard> MakeSystemClipboard(void* owner_window, Sleeper& sleeper) {
  return std::make_unique<WindowsClipboard>(static_cast<HWND>(owner_window), sleeper);
}

}  // namespace zw
