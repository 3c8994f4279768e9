#include <windows.h>

#include "stop_signal.h"

namespace zw {
namespace {

std::atomic<bool>* stop_flag = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD) {
  if (stop_flag != nullptr) *stop_flag = true;
  return TRUE;
}

}  // namespace

void StopOnSignal(std::atomic<bool>& stop) {
  stop_flag = &stop;
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace zw
