#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zw::test {

// One format on the clipboard with its whole memory block.
struct PlacedFormat {
  std::string Name;   // the registered name, or CF_TEXT
  std::string Bytes;  // the whole memory block
};

// Opens the clipboard for the window, trying for up to ten seconds while others hold it.
bool OpenClipboardWithRetry(HWND owner);

// Everything on the clipboard in enumeration order, read as another program would; empty
// when the clipboard cannot be opened within about a second.
std::vector<PlacedFormat> ReadClipboard(HWND owner);

}  // namespace zw::test
