#pragma once

#include <string>

namespace zw {

// Opens the file in Notepad and returns at once. Throws Error when Notepad cannot be started.
void OpenInNotepad(const std::string& path);

}  // namespace zw
