#include "e2e/fault_tools.h"

#include <psapi.h>

#include <vector>

namespace zw::e2e {

ClipboardHolder::ClipboardHolder() : thread_([this] { Hold(); }) {
  while (!ready_) Sleep(1);
}

ClipboardHolder::~ClipboardHolder() { Release(); }

void ClipboardHolder::Release() {
  release_ = true;
  if (thread_.joinable()) thread_.join();
}

void ClipboardHolder::Hold() {
  HWND owner = CreateWindowExA(0, "STATIC", "zw-e2e-holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               nullptr, nullptr);
  bool opened = false;
  for (int attempt = 0; attempt < 100 && !opened; ++attempt) {
    opened = OpenClipboard(owner) != 0;
    if (!opened) Sleep(10);
  }
  opened_ = opened;
  ready_ = true;  // also when opening failed: nobody waits forever
  while (!release_) Sleep(1);
  if (opened) CloseClipboard();
  DestroyWindow(owner);
}

LockedFile::LockedFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

LockedFile::~LockedFile() { Release(); }

void LockedFile::Release() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

std::size_t PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}

namespace {

struct BoxSearch {
  DWORD ProcessId;
  const std::string* Caption;
  HWND Found;
};

bool IsClass(HWND window, const char* name) {
  char found[64] = {};
  GetClassNameA(window, found, sizeof found);
  return lstrcmpiA(found, name) == 0;
}

std::string TextOf(HWND window) {
  std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 2, '\0');
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

HWND FindMessageBox(DWORD process_id, const std::string& caption) {
  BoxSearch search{process_id, &caption, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<BoxSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search.ProcessId || !IsWindowVisible(window)) return TRUE;
        if (!IsClass(window, "#32770") || TextOf(window) != *search.Caption) return TRUE;
        search.Found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::string MessageBoxText(HWND box) {
  // The message is the one static control with text; the icon is a static without text.
  std::string text;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM data) -> BOOL {
        auto& text = *reinterpret_cast<std::string*>(data);
        if (!IsClass(child, "Static")) return TRUE;
        text = TextOf(child);
        return text.empty();
      },
      reinterpret_cast<LPARAM>(&text));
  return text;
}

void PressOk(HWND box) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

}  // namespace zw::e2e
