#pragma once

#include <windows.h>

#include <functional>

namespace zw {

// Registers a hidden window for clipboard notifications, as a format listener where Windows
// offers it, else in the older viewer chain, and raises OnClipboardChanged once per change.
class ClipboardViewer {
 public:
  ClipboardViewer();
  ~ClipboardViewer();
  ClipboardViewer(const ClipboardViewer&) = delete;
  ClipboardViewer& operator=(const ClipboardViewer&) = delete;

  std::function<void()> OnClipboardChanged;
  bool Enabled = false;
  bool TriggerOnCreation = false;
  bool ListenerMode() const { return listener_mode_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Notify();

  using ListenerCall = BOOL(WINAPI*)(HWND);
  using SetViewerCall = HWND(WINAPI*)(HWND);
  using ChangeChainCall = BOOL(WINAPI*)(HWND, HWND);

  HWND window_ = nullptr;
  HWND next_viewer_ = nullptr;
  bool listener_mode_ = false;
  ListenerCall add_listener_ = nullptr;
  ListenerCall remove_listener_ = nullptr;
  SetViewerCall set_viewer_ = nullptr;
  ChangeChainCall change_chain_ = nullptr;
};

}  // namespace zw
