#include "orderlines/scoped_clipboard.h"

namespace zw {
namespace {

// The CF_TEXT of the open clipboard, locked while this lives.
class LockedText {
 public:
  LockedText() : data_(GetClipboardData(CF_TEXT)) {
    if (data_ == nullptr) return;
    bytes_ = static_cast<const char*>(GlobalLock(data_));
    if (bytes_ == nullptr) return;
    // A block without a zero byte ends the text at its own end.
    const SIZE_T size = GlobalSize(data_);
    SIZE_T length = 0;
    while (length < size && bytes_[length] != '\0') ++length;
    text_ = std::string_view(bytes_, length);
  }
  ~LockedText() {
    if (bytes_ != nullptr) GlobalUnlock(data_);
  }
  LockedText(const LockedText&) = delete;
  LockedText& operator=(const LockedText&) = delete;

  std::string_view Text() const { return text_; }

 private:
  HANDLE data_;
  const char* bytes_ = nullptr;
  std::string_view text_;
};

}  // namespace

ScopedClipboard::ScopedClipboard(HWND owner, ClipboardRetries retries, Sleeper& sleeper) {
  for (int attempt = 1;; ++attempt) {
    if (OpenClipboard(owner)) return;
    if (attempt >= retries.Attempts) throw ClipboardUnavailable();
    sleeper.Sleep(retries.Pause);
  }
}

ScopedClipboard::~ScopedClipboard() { CloseClipboard(); }

std::string ScopedClipboard::Text() const {
  const LockedText text;
  return std::string(text.Text());
}

bool ScopedClipboard::HoldsText(std::string_view text) const { return LockedText().Text() == text; }

DWORD ScopedClipboard::Sequence() const { return GetClipboardSequenceNumber(); }

void ScopedClipboard::Empty() { EmptyClipboard(); }

}  // namespace zw
