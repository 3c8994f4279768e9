#include "app/UInMainFrm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <thread>

#include "app/app_resources_win32.h"
#include "app/feedback_colours.h"
#include "app/last_copy_files.h"
#include "app/locale_separators.h"
#include "app/notepad_win32.h"
#include "app/panel_menu_win32.h"
#include "app/panel_painting_win32.h"
#include "app/run_explanation.h"
#include "app/version_text_win32.h"
#include "app/wave_player.h"
#include "base/errors.h"
#include "base/file_system.h"
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
constexpr UINT kTimerInterval = 500;
// Taking the clipboard for the hand-over tries as long as the output itself.
constexpr ClipboardRetries kHandOverRetries{10, std::chrono::milliseconds(30)};

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
  // The previous text goes first, so that only one is held.
  last_run_.reset();
  last_run_.emplace(LastRun{std::move(copy->Text), false});
  last_run_->Converted = run_.Run(*this, last_run_->Text);
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

void TInMainFrm::ShowMenu(LPARAM screen_point) {
  // A run waiting for the exchange dispatches messages; its text stays its own until it ends.
  if (run_.IsBusy()) return;
  POINT at{static_cast<short>(LOWORD(screen_point)), static_cast<short>(HIWORD(screen_point))};
  // From the keyboard: at the panel's top left corner.
  if (at.x == -1 && at.y == -1) {
    RECT bounds;
    GetWindowRect(window_, &bounds);
    at = {bounds.left + 10, bounds.top + 10};
  }
  PanelMenuState state;
  state.HasLastText = last_run_.has_value();
  state.LastConverted = last_run_ && last_run_->Converted;
  ShowPanelMenu(window_, at, state);
}

void TInMainFrm::MenuCommand(UINT command) {
  switch (command) {
    case kExplainCommand:
      ExplainLastRun();
      break;
    case kProposeCommand:
      ProposeTemplateFromLastCopy();
      break;
    case kOpenFolderCommand:
      OpenTemplateFolder();
      break;
    case kCloseCommand:
      PostMessageA(window_, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void TInMainFrm::ExplainLastRun() {
  if (!last_run_ || run_.IsBusy()) return;
  // The tax goes only into the lines, which the report does not show: the exchange is not asked.
  const std::string report =
      ExplainConversion(last_run_->Text, TemplateFolder(), NumberSeparators(), "");
  OpenInNotepad(WriteExplanationFile(SystemTempFolder(), report));
}

void TInMainFrm::ProposeTemplateFromLastCopy() {
  if (!last_run_ || run_.IsBusy()) return;
  // A text without a table raises NoTableError, whose message the window's error report shows.
  OpenInNotepad(SaveTemplateProposal(TemplateFolder(), last_run_->Text, NumberSeparators()));
}

}  // namespace zw
