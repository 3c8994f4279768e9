// Zwischenablage: program start. One instance per user session; the window and its message
// loop run until "X" closes it.
#include <windows.h>

#include <exception>

#include "app/UInMainFrm.h"
#include "app/exception_report_win32.h"
#include "app/regional_settings.h"
#include "base/file_system.h"
#include "orderlines/UClpUtils.h"

namespace {

constexpr char kSingleInstanceMutex[] = "FA9CC3EF-56B5-47AD-AFAD-2A5107900918";
constexpr char kApplicationClass[] = "TApplication";

class MutexHandle {
 public:
  explicit MutexHandle(HANDLE handle) : handle_(handle) {}
  ~MutexHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  MutexHandle(const MutexHandle&) = delete;
  MutexHandle& operator=(const MutexHandle&) = delete;

 private:
  HANDLE handle_;
};

// The hidden application window: it carries the taskbar entry, owns the main window and opens
// the clipboard for every write of the tool, so the tool recognises its own changes.
HWND CreateApplicationWindow() {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  window_class.lpszClassName = kApplicationClass;
  RegisterClassA(&window_class);
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  HWND window =
      CreateWindowExA(0, kApplicationClass, "Zwischenablage",
                      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                      0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr) ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  zw::InitRegionalSettings(zw::ExecutableFolder());
  zw::RegisteredClipboardFormats();

  HANDLE mutex = CreateMutexA(nullptr, TRUE, kSingleInstanceMutex);
  const DWORD error = GetLastError();
  MutexHandle held(mutex);
  // A second instance ends at once and without a word.
  if (mutex == nullptr || error != 0) return 0;

  HWND application = CreateApplicationWindow();
  try {
    zw::TInMainFrm main_form(application);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  } catch (const std::exception& failure) {
    zw::ShowExceptionReport(failure.what());
  }
  if (application != nullptr) DestroyWindow(application);
  return 0;
}
