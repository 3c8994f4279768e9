// Stands in for Notepad beside the tool under test: the tool finds "notepad.exe" in its own
// folder before the system's, and this one notes the file it was asked to open in
// "notepad-calls.txt" beside itself instead of showing a window.
#include <windows.h>

#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  char exe[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string calls(exe, length);
  calls = calls.substr(0, calls.find_last_of('\\') + 1) + "notepad-calls.txt";

  // The arguments after the program name: the file, in quotes.
  std::string file = command_line;
  if (file.size() >= 2 && file.front() == '"' && file.back() == '"')
    file = file.substr(1, file.size() - 2);
  std::ofstream out(calls, std::ios::binary | std::ios::app);
  out << file << "\r\n";
  return out ? 0 : 1;
}
