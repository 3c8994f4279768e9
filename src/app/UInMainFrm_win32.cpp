#include "app/UInMainFrm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <thread>

#include "app/app_resources_win32.h"
#include "app/exception_report_win32.h"
#include "app/feedback_colours.h"
#include "app/locale_separators.h"
#include "app/wave_player.h"
#include "app/window_placement.h"
#include "base/errors.h"
#include "exchange/UCustomTextParser.h"
#include "exchange/exchange_requests.h"
#include "orderlines/scoped_clipboard.h"
#include "orderlines/system_clipboard.h"
#include "templates/template_files.h"

namespace zw {
namespace {

constexpr char kMainClass[] = "TInMainFrm";
constexpr int kClientWidth = 182;
constexpr int kClientHeight = 88;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimerInterval = 500;
constexpr RECT kCloseButton{151, 10, 176, 35};   // "X"
constexpr RECT kFolderButton{123, 10, 148, 35};  // "E"
constexpr RECT kLabel{11, 57, 164, 80};
constexpr RECT kImage{10, 10, 58, 58};
constexpr UINT_PTR kReadRetryTimer = 2;
// Taking the clipboard for the hand-over tries as long as the output itself.
constexpr ClipboardRetries kHandOverRetries{10, std::chrono::milliseconds(30)};

COLORREF Colour(std::uint32_t value) { return static_cast<COLORREF>(value); }

bool Inside(const RECT& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

HFONT TahomaFont(int height, bool bold) {
  return CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, "Tahoma");
}

// A format that password managers place beside text that no clipboard tool may read.
bool ExcludedFromMonitoring() {
  static const UINT excluded =
      RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
  static const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
  return IsClipboardFormatAvailable(excluded) || IsClipboardFormatAvailable(ignore);
}

// One attempt: a clipboard held elsewhere is read again from a timer, the message loop running.
std::unique_ptr<ClipboardCopy> ReadClipboardCopy(HWND owner) {
  const ScopedClipboard clipboard(owner, {1, std::chrono::milliseconds(0)});
  auto copy = std::make_unique<ClipboardCopy>();
  copy->Text = clipboard.Text();
  copy->Sequence = clipboard.Sequence();
  return copy;
}

// The file version of the executable from its version resource; "" on any failure.
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

}  // namespace

TInMainFrm::TInMainFrm(HWND application_window)
    : application_window_(application_window), panel_colour_(SuccessColour) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  window_class.lpszClassName = kMainClass;
  RegisterClassA(&window_class);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kClientWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kClientHeight) / 2;
  window_ = CreateWindowExA(0, kMainClass, "Zwischenablage", WS_POPUP | WS_CLIPCHILDREN, x, y,
                            kClientWidth, kClientHeight, application_window_, nullptr,
                            GetModuleHandleA(nullptr), this);
  if (window_ == nullptr) throw Error("Das Fenster kann nicht erstellt werden");
  FormCreate();
}

TInMainFrm::~TInMainFrm() {
  viewer_.reset();
  StopWavePlayback();
  if (window_ != nullptr) DestroyWindow(window_);
}

void TInMainFrm::FormCreate() {
  version_hint_ = FileVersionString();
  SelectOwnServer();
  TakeLocaleSeparators();

  using DpiAwareCall = BOOL(WINAPI*)();
  using LayeredCall = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (auto dpi_aware = reinterpret_cast<DpiAwareCall>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware")))) {
    dpi_aware();
  }
  panel_colour_ = IdleColour;
  if (auto layered = reinterpret_cast<LayeredCall>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))) {
    SetWindowLongPtrA(window_, GWL_EXSTYLE,
                      GetWindowLongPtrA(window_, GWL_EXSTYLE) | WS_EX_LAYERED);
    layered(window_, 0, 200, LWA_ALPHA);
  }
  RECT bounds;
  GetWindowRect(window_, &bounds);
  SetWindowRgn(
      window_,
      CreateRoundRectRgn(5, 5, bounds.right - bounds.left, bounds.bottom - bounds.top, 5, 5), TRUE);

  wave_.WaveData().SetData(ResourceBytes("SUCCESSWAVE"));
  picture_ = PictureBgra(ResourceBytes("PICTURE"));
  clipboard_ = MakeSystemClipboard(application_window_);

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  if (tooltip_ != nullptr) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.rect = kImage;
    tool.lpszText = version_hint_.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }

  viewer_ = std::make_unique<ClipboardViewer>();
  viewer_->OnClipboardChanged = [this] { ClipboardChanged(); };
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void TInMainFrm::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client;
  GetClientRect(window_, &client);
  HBRUSH panel = CreateSolidBrush(Colour(panel_colour_));
  FillRect(dc, &client, panel);
  DeleteObject(panel);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));

  HFONT bold = TahomaFont(19, true);
  HGDIOBJ previous = SelectObject(dc, bold);
  RECT label = kLabel;
  DrawTextA(dc, "Zwischenablage", -1, &label, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  for (const auto& [rect, caption, id] :
       {std::tuple{kCloseButton, "X", 4}, std::tuple{kFolderButton, "E", 5}}) {
    RECT button = rect;
    if (pressed_button_ == id) {
      HBRUSH pressed = CreateSolidBrush(RGB(255, 255, 255));
      FillRect(dc, &button, pressed);
      DeleteObject(pressed);
    }
    FrameRect(dc, &button, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    DrawTextA(dc, caption, -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, previous);
  DeleteObject(bold);

  if (picture_.size() == 48u * 48u * 4u) {
    // The picture's transparent parts show the panel colour.
    std::string pixels(picture_.size(), '\0');
    const int panel_rgb[3] = {static_cast<int>(panel_colour_ >> 16 & 0xFF),
                              static_cast<int>(panel_colour_ >> 8 & 0xFF),
                              static_cast<int>(panel_colour_ & 0xFF)};  // B, G, R
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
      const int alpha = static_cast<unsigned char>(picture_[i + 3]);
      for (int c = 0; c < 3; ++c) {
        const int value = static_cast<unsigned char>(picture_[i + c]);
        pixels[i + c] = static_cast<char>((value * alpha + panel_rgb[c] * (255 - alpha)) / 255);
      }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 48;
    info.bmiHeader.biHeight = -48;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, kImage.left, kImage.top, 48, 48, 0, 0, 0, 48, pixels.data(), &info,
                      DIB_RGB_COLORS);
  }
  EndPaint(window_, &paint);
}

void TInMainFrm::ClipboardChanged() {
  reads_.Announced();
  ReadClipboardChange();
}

void TInMainFrm::ReadClipboardChange() {
  KillTimer(window_, kReadRetryTimer);
  try {
    if (!IsClipboardFormatAvailable(CF_TEXT)) return;
    if (GetClipboardOwner() == application_window_) return;
    if (ExcludedFromMonitoring()) return;
    // Notifications that queued up during a run all find the same, latest content: it is read
    // and converted once, not once per notification.
    if (reads_.AlreadyRead(GetClipboardSequenceNumber())) return;
    std::unique_ptr<ClipboardCopy> copy;
    try {
      copy = ReadClipboardCopy(application_window_);
    } catch (const ClipboardUnavailable&) {
      // Read again once the other program lets go; only the latest content is read then.
      if (reads_.RetryLater()) {
        SetTimer(window_, kReadRetryTimer, ClipboardReadSchedule::kRetryIntervalMs, nullptr);
      }
      return;
    }
    reads_.Read(copy->Sequence);
    // The text travels with the message; the window takes it back when the message arrives.
    if (PostMessageA(window_, WM_CONVERTTEXT, reinterpret_cast<WPARAM>(copy.get()), 0)) {
      copy.release();
    }
  } catch (...) {
    // A change that cannot be read is given up silently.
  }
}

void TInMainFrm::ConvertText(std::unique_ptr<ClipboardCopy> copy) {
  if (run_.IsBusy()) {
    // Read while a run waits (its waits dispatch messages): the run drops it, and may give way
    // to it at its hand-over, so the clipboard is read again once the run has ended.
    reads_.DroppedDuringRun();
    return;
  }
  const ClipboardReadSchedule::RunScope scope(
      reads_, [this] { PostMessageA(window_, WM_RECHECKCLIPBOARD, 0, 0); });
  run_sequence_ = copy->Sequence;
  claimed_sequence_ = 0;
  run_.Run(*this, copy->Text);
}

void TInMainFrm::ShowFeedback(std::uint32_t colour) {
  panel_colour_ = colour;
  InvalidateRect(window_, nullptr, FALSE);
  // A running timer keeps its period: the idle colour returns 500 ms after the first flash.
  if (!timer_enabled_) {
    SetTimer(window_, kTimer1, kTimerInterval, nullptr);
    timer_enabled_ = true;
  }
}

void TInMainFrm::Timer1Timer() {
  KillTimer(window_, kTimer1);
  timer_enabled_ = false;
  panel_colour_ = IdleColour;
  InvalidateRect(window_, nullptr, FALSE);
}

void TInMainFrm::BringToForeground() {
  HWND foreground = GetForegroundWindow();
  const DWORD foreground_thread = GetWindowThreadProcessId(foreground, nullptr);
  const DWORD own_thread = GetCurrentThreadId();
  AttachThreadInput(foreground_thread, own_thread, TRUE);
  SetForegroundWindow(window_);
  AttachThreadInput(foreground_thread, own_thread, FALSE);
}

void TInMainFrm::PlaySuccessSound() { wave_.Play(); }

std::string TInMainFrm::ReadIPCValue(const std::string& name) { return ReadIPCValueSync(name); }

bool TInMainFrm::PostOrderLines(const TExDataGridLines& lines) {
  return PostOrderLinesToServer(lines);
}

ClipboardCheck TInMainFrm::TakeClipboard(std::string_view text) {
  try {
    ScopedClipboard clipboard(application_window_, kHandOverRetries);
    // Decided while the clipboard is held: no copy can come between the check and the emptying.
    const DWORD sequence = clipboard.Sequence();
    const bool same =
        sequence != 0 && run_sequence_ != 0 ? sequence == run_sequence_ : clipboard.HoldsText(text);
    if (!same) return ClipboardCheck::Replaced;
    clipboard.Empty();
    claimed_sequence_ = clipboard.Sequence();
    return ClipboardCheck::Holds;
  } catch (const ClipboardUnavailable&) {
    return ClipboardCheck::Unavailable;
  }
}

ClipboardOutput TInMainFrm::CopyToClipboard(TExDataGridLines& lines) {
  clipboard_->PlaceOnlyAtSequence(claimed_sequence_);
  const bool placed = lines.CopyToClipboard("", *clipboard_);
  if (clipboard_->GaveWay()) return ClipboardOutput::GaveWay;
  return placed ? ClipboardOutput::Placed : ClipboardOutput::Failed;
}

std::string TInMainFrm::TemplateFolder() { return zw::TemplateFolder(); }

void TInMainFrm::OpenTemplateFolder() {
  const std::string folder = zw::TemplateFolder();
  WriteDefaultTemplates(folder, nullptr);
  // The shell may take a while; the click returns at once and the job touches no window.
  std::thread([folder] {
    std::string path = folder;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
      path = path.substr(1, path.size() - 2);
    }
    // A final backslash would escape the closing quote on the explorer's command line.
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    const std::string quoted = "\"" + path + "\"";
    ShellExecuteA(GetForegroundWindow(), "explore", quoted.c_str(), nullptr, nullptr,
                  SW_SHOWDEFAULT);
  }).detach();
}

void TInMainFrm::WMWindowPosChanging(WINDOWPOS& position) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  std::vector<ScreenRect> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT bounds, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back(
            {bounds->left, bounds->top, bounds->right, bounds->bottom});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  const ScreenRect desktop = DesktopRect({work.left, work.top, work.right, work.bottom}, monitors);
  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  std::optional<Taskbar> taskbar;
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
    taskbar = Taskbar{{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom}, bar.uEdge};
  }
  int x = position.x;
  int y = position.y;
  int cx = position.cx;
  int cy = position.cy;
  // A move without a size change may carry no size; the window keeps its own then.
  if (position.flags & SWP_NOSIZE) {
    RECT bounds;
    GetWindowRect(window_, &bounds);
    cx = bounds.right - bounds.left;
    cy = bounds.bottom - bounds.top;
  }
  CorrectWindowPosition(x, y, cx, cy, desktop, taskbar);
  position.x = x;
  position.y = y;
}

LRESULT TInMainFrm::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      const int x = static_cast<short>(LOWORD(lparam));
      const int y = static_cast<short>(HIWORD(lparam));
      if (Inside(kCloseButton, x, y) || Inside(kFolderButton, x, y)) {
        pressed_button_ = Inside(kCloseButton, x, y) ? 4 : 5;
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
      pressed_button_ = 0;
      ReleaseCapture();
      InvalidateRect(window_, nullptr, FALSE);
      if (pressed == 4 && Inside(kCloseButton, x, y)) PostMessageA(window_, WM_CLOSE, 0, 0);
      if (pressed == 5 && Inside(kFolderButton, x, y)) OpenTemplateFolder();
      return 0;
    }
    case WM_TIMER:
      if (wparam == kTimer1) Timer1Timer();
      if (wparam == kReadRetryTimer) ReadClipboardChange();
      return 0;
    case WM_WINDOWPOSCHANGING:
      WMWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lparam));
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
