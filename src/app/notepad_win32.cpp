#include "app/notepad_win32.h"

#include <windows.h>

#include "base/errors.h"
#include "base/file_system.h"
#include "base/unique_handle_win32.h"

namespace zw {
namespace {

// As the system looks for a program named without a folder: in the tool's own folder first,
// then in the system folder; the current folder, which may be anyone's, is left out.
std::string NotepadPath() {
  const std::string beside_the_tool = ExecutableFolder() + "notepad.exe";
  if (FileExists(beside_the_tool)) return beside_the_tool;
  char system_folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(system_folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(system_folder, length) + "\\notepad.exe";
}

}  // namespace

void OpenInNotepad(const std::string& path) {
  const std::string notepad = NotepadPath();
  std::string command = "\"" + notepad + "\" \"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (notepad.empty() || !CreateProcessA(notepad.c_str(), command.data(), nullptr, nullptr, FALSE,
                                         0, nullptr, nullptr, &startup, &process)) {
    throw Error("Der Editor (notepad.exe) kann nicht gestartet werden");
  }
  // Notepad runs on its own; its handles are not needed.
  const UniqueHandle thread(process.hThread);
  const UniqueHandle notepad_process(process.hProcess);
}

}  // namespace zw
