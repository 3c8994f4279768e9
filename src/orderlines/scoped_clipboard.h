#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "base/sleeper.h"

namespace zw {

// How often and how far apart opening the clipboard is tried. Clipboard managers, clipboard
// history and remote desktops hold the clipboard for a moment after every change.
struct ClipboardRetries {
  int Attempts = 1;
  std::chrono::milliseconds Pause{0};
};

// The Windows clipboard, open with the owner window while this lives. Every open of the tool
// goes through it, so the clipboard is closed on every path, also when a read or a write
// made while it is open throws: a clipboard left open would stop every program on the desktop
// from copying and pasting.
class ScopedClipboard {
 public:
  // Throws ClipboardUnavailable when the clipboard stays held for all attempts.
  ScopedClipboard(HWND owner, ClipboardRetries retries, Sleeper& sleeper = SystemSleeper());
  ~ScopedClipboard();
  ScopedClipboard(const ScopedClipboard&) = delete;
  ScopedClipboard& operator=(const ScopedClipboard&) = delete;

  // The CF_TEXT up to its zero byte and at most to the end of its memory block; "" without one.
  std::string Text() const;
  // Whether the CF_TEXT is exactly this text (no copy of it is made).
  bool HoldsText(std::string_view text) const;
  // The clipboard's sequence number: it moves with every change of the content.
  DWORD Sequence() const;
  // Empties the clipboard; afterwards the owner window owns it.
  void Empty();
};

}  // namespace zw
