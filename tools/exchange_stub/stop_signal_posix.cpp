#include <csignal>

#include "stop_signal.h"

namespace zw {
namespace {

std::atomic<bool>* stop_flag = nullptr;

extern "C" void OnStopSignal(int) {
  if (stop_flag != nullptr) *stop_flag = true;
}

}  // namespace

void StopOnSignal(std::atomic<bool>& stop) {
  stop_flag = &stop;
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
}

}  // namespace zw
