#include <windows.h>

#include <cstring>

#include "base/errors.h"
#include "orderlines/system_clipboard.h"

namespace zw {
namespace {

constexpr int kOpenAttempts = 10;
constexpr std::chrono::milliseconds kOpenPause{30};

// Closes the clipboard on every path out of PutClipboardItems.
class OpenClipboardScope {
 public:
  ~OpenClipboardScope() { CloseClipboard(); }
};

class SystemClipboard final : public ClipboardSink {
 public:
  SystemClipboard(HWND owner, Sleeper& sleeper) : owner_(owner), sleeper_(sleeper) {}

  std::size_t PutClipboardItems(const std::vector<ClipboardItem>& items) override {
    Open();
    OpenClipboardScope close;
    bool emptied = false;
    std::size_t placed = 0;
    for (const ClipboardItem& item : items) {
      const std::size_t prefix = item.SizePrefix ? 4 : 0;
      HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, prefix + item.Stream.size());
      if (memory == nullptr) continue;
      auto* target = static_cast<unsigned char*>(GlobalLock(memory));
      if (target == nullptr) {
        GlobalFree(memory);
        continue;
      }
      // The block is written straight from the stream, the count first when there is one.
      const auto count = static_cast<std::uint32_t>(item.Stream.size());
      for (std::size_t i = 0; i < prefix; ++i)
        target[i] = static_cast<unsigned char>(count >> (8 * i));
      if (!item.Stream.empty())
        std::memcpy(target + prefix, item.Stream.data(), item.Stream.size());
      GlobalUnlock(memory);
      if (!emptied) {
        EmptyClipboard();
        emptied = true;
      }
      // Once handed over, the clipboard owns the memory.
      if (SetClipboardData(item.Format, memory) == nullptr) {
        GlobalFree(memory);
        continue;
      }
      ++placed;
    }
    return placed;
  }

 private:
  void Open() {
    for (int attempt = 1;; ++attempt) {
      if (OpenClipboard(owner_)) return;
      if (attempt >= kOpenAttempts) {
        throw Error(
            "Zwischenablage kann nicht ge\xF6"
            "ffnet werden");
      }
      sleeper_.Sleep(kOpenPause);
    }
  }

  HWND owner_;
  Sleeper& sleeper_;
};

}  // namespace

std::unique_ptr<ClipboardSink> MakeSystemClipboard(void* owner_window, Sleeper& sleeper) {
  return std::make_unique<SystemClipboard>(static_cast<HWND>(owner_window), sleeper);
}

}  // namespace zw
