#include "support/clipboard_reader_win32.h"

namespace zw::test {
namespace {

std::string FormatName(UINT format) {
  if (format == CF_TEXT) return "CF_TEXT";
  char name[256] = {};
  const int length = GetClipboardFormatNameA(format, name, sizeof name);
  return length > 0 ? std::string(name, static_cast<std::size_t>(length))
                    : "#" + std::to_string(format);
}

}  // namespace

bool OpenClipboardWithRetry(HWND owner) {
  // A loaded machine may keep the tool's output, and Wine's bridge to the X clipboard, busy
  // for a few seconds; a driver that gave up sooner would fail a test the tool passed.
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (!OpenClipboard(owner)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
  return true;
}

std::vector<PlacedFormat> ReadClipboard(HWND owner) {
  std::vector<PlacedFormat> formats;
  if (!OpenClipboardWithRetry(owner)) return formats;
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    PlacedFormat placed{FormatName(format), {}};
    if (HANDLE data = GetClipboardData(format)) {
      if (const void* bytes = GlobalLock(data)) {
        placed.Bytes.assign(static_cast<const char*>(bytes), GlobalSize(data));
        GlobalUnlock(data);
      }
    }
    formats.push_back(placed);
  }
  CloseClipboard();
  return formats;
}

}  // namespace zw::test
