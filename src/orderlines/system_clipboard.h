#pragma once

#include <memory>

#include "base/sleeper.h"
#include "orderlines/UClpUtils.h"

namespace zw {

// The Windows clipboard (Windows build only), opened with the given window as owner, so that
// the tool recognises its own clipboard changes. Clipboard managers hold the clipboard for a
// moment after every change: opening is tried 10 times, 30 ms apart.
std::unique_ptr<ClipboardSink> MakeSystemClipboard(void* owner_window,
                                                   Sleeper& sleeper = SystemSleeper());

}  // namespace zw
