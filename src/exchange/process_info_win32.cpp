// windows.h must come first: tlhelp32.h relies on its types.
#include <windows.h>

#include <tlhelp32.h>

#include "base/unique_handle_win32.h"
#include "exchange/process_info.h"

namespace zw {

std::uint32_t ParentProcessId() {
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry{};
  // The record's size is that of this build (304 bytes on 64-bit Windows), never a constant.
  entry.dwSize = sizeof(PROCESSENTRY32);
  std::uint32_t parent = 0;
  const DWORD self = GetCurrentProcessId();
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == self) {
      parent = entry.th32ParentProcessID;
      break;
    }
  }
  return parent;
}

std::uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

}  // namespace zw
