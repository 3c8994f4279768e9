#include "app/clipboard_viewer_win32.h"

#include <exception>

#include "app/exception_report_win32.h"

namespace zw {
namespace {

constexpr char kViewerClass[] = "ZwischenablageClipboardViewer";

template <class Call>
Call Resolve(HMODULE module, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

ClipboardViewer::ClipboardViewer() {
  // Entry points that older Windows versions lack are looked up by name.
  HMODULE user32 = GetModuleHandleA("user32.dll");
  add_listener_ = Resolve<ListenerCall>(user32, "AddClipboardFormatListener");
  remove_listener_ = Resolve<ListenerCall>(user32, "RemoveClipboardFormatListener");
  set_viewer_ = Resolve<SetViewerCall>(user32, "SetClipboardViewer");
  change_chain_ = Resolve<ChangeChainCall>(user32, "ChangeClipboardChain");
  listener_mode_ = add_listener_ != nullptr && remove_listener_ != nullptr;
  if (!listener_mode_ && (set_viewer_ == nullptr || change_chain_ == nullptr)) return;

  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kViewerClass;
  RegisterClassA(&window_class);
  window_ = CreateWindowExA(0, kViewerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), this);
  if (window_ == nullptr) return;
  if (listener_mode_) {
    add_listener_(window_);
  } else {
    next_viewer_ = set_viewer_(window_);
  }
  // Only now: the notification that registering may cause is not a change by the user.
  TriggerOnCreation = true;
  Enabled = true;
}

ClipboardViewer::~ClipboardViewer() {
  if (window_ == nullptr) return;
  if (listener_mode_ && remove_listener_ != nullptr) {
    remove_listener_(window_);
  } else if (change_chain_ != nullptr) {
    change_chain_(window_, next_viewer_);
  }
  DestroyWindow(window_);
}

void ClipboardViewer::Notify() {
  if (!OnClipboardChanged || !Enabled) return;
  try {
    OnClipboardChanged();
  } catch (const std::exception& error) {
    ShowExceptionReport(error.what());
  }
}

LRESULT ClipboardViewer::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLIPBOARDUPDATE:
      if (!listener_mode_) break;
      Notify();
      return 0;
    case WM_DRAWCLIPBOARD:
      if (listener_mode_) break;
      Notify();
      if (next_viewer_ != nullptr) SendMessageA(next_viewer_, WM_DRAWCLIPBOARD, wparam, lparam);
      return 0;
    case WM_CHANGECBCHAIN:
      if (listener_mode_) break;
      if (reinterpret_cast<HWND>(wparam) == next_viewer_) {
        next_viewer_ = reinterpret_cast<HWND>(lparam);
      } else if (next_viewer_ != nullptr) {
        SendMessageA(next_viewer_, WM_CHANGECBCHAIN, wparam, lparam);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT CALLBACK ClipboardViewer::WindowProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* viewer = reinterpret_cast<ClipboardViewer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (viewer == nullptr || viewer->window_ == nullptr) {
    return DefWindowProcA(window, message, wparam, lparam);
  }
  return viewer->Handle(message, wparam, lparam);
}

}  // namespace zw
