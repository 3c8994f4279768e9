#include "app/notepad_win32.h"

#include <windows.h>

#include "base/errors.h"

namespace zw {

void OpenInNotepad(const std::string& path) {
  // Named without a folder, "notepad.exe" is looked up as the system looks up every program:
  // in the tool's own folder first, then in the system folders.
  std::string command = "notepad.exe \"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    throw Error("Der Editor (notepad.exe) kann nicht gestartet werden");
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace zw
