#include "e2e/panel_watch.h"

#include <algorithm>

namespace zw::e2e {

std::uint32_t PanelColourOf(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, bounds.left + 90, bounds.top + 40);
  ReleaseDC(nullptr, screen);
  return colour;
}

PanelWatch::PanelWatch(HWND window) : window_(window), thread_([this] { Sample(); }) {
  // The first sample is taken before the test goes on, so nothing shown after the start is
  // missed.
  while (!sampled_) Sleep(1);
}

PanelWatch::~PanelWatch() {
  stop_ = true;
  thread_.join();
}

void PanelWatch::Sample() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  while (!stop_) {
    const std::uint32_t colour = PanelColourOf(window_);
    {
      const std::lock_guard<std::mutex> hold(lock_);
      if (colours_.empty() || colours_.back() != colour) colours_.push_back(colour);
    }
    sampled_ = true;
    Sleep(1);
  }
}

std::vector<std::uint32_t> PanelWatch::Colours() const {
  const std::lock_guard<std::mutex> hold(lock_);
  return colours_;
}

bool PanelWatch::Saw(std::uint32_t colour) const {
  const std::lock_guard<std::mutex> hold(lock_);
  return std::find(colours_.begin(), colours_.end(), colour) != colours_.end();
}

bool PanelWatch::SawThen(std::uint32_t first, std::uint32_t then) const {
  const std::lock_guard<std::mutex> hold(lock_);
  const auto shown = std::find(colours_.begin(), colours_.end(), first);
  return shown != colours_.end() && std::find(shown + 1, colours_.end(), then) != colours_.end();
}

}  // namespace zw::e2e
