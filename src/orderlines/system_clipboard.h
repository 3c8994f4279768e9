#pragma once

#include <cstdint>
#include <memory>

#include "base/sleeper.h"
#include "orderlines/UClpUtils.h"

namespace zw {

// The Windows clipboard (Windows build only), opened with the given window as owner, so that
// the tool recognises its own clipboard changes. Clipboard managers hold the clipboard for a
// moment after every change: opening is tried 10 times, 30 ms apart.
class SystemClipboard : public ClipboardSink {
 public:
  // The output is placed only while the clipboard's sequence number is still this one; 0
  // places it whatever the clipboard holds. The number is compared while the clipboard is
  // held for the output, so a copy made at any moment before is never replaced.
  virtual void PlaceOnlyAtSequence(std::uint32_t sequence) = 0;
  // The last PutClipboardItems found a newer copy there and placed nothing.
  virtual bool GaveWay() const = 0;
};

std::unique_ptr<SystemClipboard> MakeSystemClipboard(void* owner_window,
                                                     Sleeper& sleeper = SystemSleeper());

}  // namespace zw
