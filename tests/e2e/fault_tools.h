#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <thread>

// What the fault tests do to the tool from outside: hold the clipboard open as another
// program would, hold a file open without sharing, measure the tool's memory and answer its
// message boxes.
namespace zw::e2e {

// Another program holds the clipboard open (from a thread and window of its own) until
// Release or the end of the scope; what the clipboard holds stays as it is.
class ClipboardHolder {
 public:
  ClipboardHolder();
  ~ClipboardHolder();
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  // Whether the clipboard was opened (and is held until Release).
  bool Held() const { return opened_; }
  // Closes the clipboard and returns once it is closed.
  void Release();

 private:
  void Hold();

  std::atomic<bool> ready_{false};
  std::atomic<bool> opened_{false};
  std::atomic<bool> release_{false};
  std::thread thread_;
};

// A file held open without any sharing, as an editor or a virus scanner may hold it: no
// other process can open it until Release or the end of the scope.
class LockedFile {
 public:
  explicit LockedFile(const std::string& path);
  ~LockedFile();
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  bool Locked() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release();

 private:
  HANDLE handle_;
};

// The peak working set of a process in bytes, 0 when it cannot be read.
std::size_t PeakWorkingSet(HANDLE process);

// A message box of the process with the given caption, or nullptr.
HWND FindMessageBox(DWORD process_id, const std::string& caption);
// The message text of a message box (its static text control).
std::string MessageBoxText(HWND box);
// Presses the box's OK button.
void PressOk(HWND box);

}  // namespace zw::e2e
