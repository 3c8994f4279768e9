#include "app/UInMainFrm.h"

#include <exception>

#include "app/exception_report_win32.h"
#include "app/panel_painting_win32.h"
#include "app/placement_adapter_win32.h"

// The main window's messages: the panel's buttons and menu, its timers and the texts read
// from the clipboard. The window's state and its jobs live in UInMainFrm_win32.cpp.
namespace zw {

LRESULT TInMainFrm::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      PaintPanel(window_, panel_colour_, pressed_button_, picture_);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      const int x = static_cast<short>(LOWORD(lparam));
      const int y = static_cast<short>(HIWORD(lparam));
      if (Inside(kCloseButton, x, y) || Inside(kFolderButton, x, y)) {
        pressed_button_ = Inside(kCloseButton, x, y) ? kCloseButtonId : kFolderButtonId;
        SetCapture(window_);
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
      }
      // Anywhere else the panel drags the borderless window like a caption bar.
      ReleaseCapture();
      SendMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    }
    case WM_LBUTTONUP: {
      const int x = static_cast<short>(LOWORD(lparam));
      const int y = static_cast<short>(HIWORD(lparam));
      const int pressed = pressed_button_;
      pressed_button_ = kNoButton;
      ReleaseCapture();
      InvalidateRect(window_, nullptr, FALSE);
      if (pressed == kCloseButtonId && Inside(kCloseButton, x, y)) {
        PostMessageA(window_, WM_CLOSE, 0, 0);
      }
      if (pressed == kFolderButtonId && Inside(kFolderButton, x, y)) OpenTemplateFolder();
      return 0;
    }
    case WM_CONTEXTMENU:
      // Made by DefWindowProc from the right button's release, and from the keyboard.
      ShowMenu(lparam);
      return 0;
    case WM_COMMAND:
      MenuCommand(LOWORD(wparam));
      return 0;
    case WM_TIMER:
      if (wparam == kTimer1) Timer1Timer();
      if (wparam == kReadRetryTimer) ReadClipboardChange();
      return 0;
    case WM_WINDOWPOSCHANGING:
      CorrectWindowPosChanging(window_, *reinterpret_cast<WINDOWPOS*>(lparam));
      break;
    case WM_CONVERTTEXT:
      ConvertText(std::unique_ptr<ClipboardCopy>(reinterpret_cast<ClipboardCopy*>(wparam)));
      return 0;
    case WM_RECHECKCLIPBOARD:
      ReadClipboardChange();
      return 0;
    case WM_CLOSE:
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT CALLBACK TInMainFrm::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<TInMainFrm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (form == nullptr || form->window_ == nullptr)
    return DefWindowProcA(window, message, wparam, lparam);
  try {
    return form->Handle(message, wparam, lparam);
  } catch (const std::exception& error) {
    // An error that leaves a message ends in the standard report; the tool keeps running.
    ShowExceptionReport(error.what());
    return 0;
  }
}

}  // namespace zw
