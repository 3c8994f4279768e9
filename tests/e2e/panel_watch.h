#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// The colours a window's panel shows, sampled from the screen without pause from the moment
// the watch starts, so that a flash of half a second is seen however late the test looks.
namespace zw::e2e {

// The colour of a spot of the tool's panel that no text, picture or button covers, read from
// the screen as the user sees it.
std::uint32_t PanelColourOf(HWND window);

class PanelWatch {
 public:
  explicit PanelWatch(HWND window);
  ~PanelWatch();
  PanelWatch(const PanelWatch&) = delete;
  PanelWatch& operator=(const PanelWatch&) = delete;

  // Every colour shown since the start, in order, each change once.
  std::vector<std::uint32_t> Colours() const;
  bool Saw(std::uint32_t colour) const;
  // The panel showed `first` and later `then`.
  bool SawThen(std::uint32_t first, std::uint32_t then) const;

 private:
  void Sample();

  HWND window_;
  mutable std::mutex lock_;
  std::vector<std::uint32_t> colours_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> sampled_{false};
  std::thread thread_;
};

}  // namespace zw::e2e
