#include <windows.h>

#include "app/exception_report_win32.h"

namespace zw {

void ShowExceptionReport(const std::string& text) {
  std::string message = text;
  if (message.empty() || message.back() != '.') message += '.';
  MessageBoxA(nullptr, message.c_str(), "Zwischenablage", MB_OK | MB_ICONERROR);
}

}  // namespace zw
