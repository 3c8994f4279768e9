#include "app/version_text_win32.h"

#include <windows.h>

namespace zw {

std::string FileVersionString() {
  char path[MAX_PATH] = {};
  if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return {};
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return {};
  std::string info(size, '\0');
  if (!GetFileVersionInfoA(path, 0, size, info.data())) return {};
  struct Translation {
    WORD Language;
    WORD CodePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation)) {
    return {};
  }
  char query[64];
  wsprintfA(query, "\\StringFileInfo\\%04x%04x\\%s", translation->Language, translation->CodePage,
            "FileVersion");
  char* value = nullptr;
  if (!VerQueryValueA(info.data(), query, reinterpret_cast<void**>(&value), &length) ||
      value == nullptr) {
    return {};
  }
  return std::string(value, length > 0 && value[length - 1] == '\0' ? length - 1 : length);
}

}  // namespace zw
