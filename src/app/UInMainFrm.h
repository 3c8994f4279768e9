#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/UWave.h"
#include "app/clipboard_read_schedule.h"
#include "app/clipboard_viewer_win32.h"
#include "app/conversion_run.h"
#include "app/regional_settings.h"
#include "orderlines/system_clipboard.h"

namespace zw {

// The clipboard text as read, with the clipboard's sequence number at the read.
struct ClipboardCopy {
  std::string Text;
  DWORD Sequence = 0;
};

// WM_USER + 5000: wParam carries a heap ClipboardCopy; the window frees it.
constexpr UINT WM_CONVERTTEXT = WM_USER + 5000;
// Reads the clipboard again after a run during which a newer text was read and dropped.
constexpr UINT WM_RECHECKCLIPBOARD = WM_USER + 5001;

// The tool's only window: a borderless, translucent, rounded panel of 182 x 88 pixels with
// the buttons "X" (end) and "E" (open the template folder) and a menu on the right button. It
// watches the clipboard, runs a conversion for every copied text and shows the result by its
// colour.
class TInMainFrm final : public ConversionHost {
 public:
  // application_window owns the main window and every clipboard write of the tool.
  explicit TInMainFrm(HWND application_window);
  ~TInMainFrm() override;
  TInMainFrm(const TInMainFrm&) = delete;
  TInMainFrm& operator=(const TInMainFrm&) = delete;

  HWND Handle() const { return window_; }
  std::uint32_t PanelColour() const { return panel_colour_; }

  // ConversionHost
  std::string ReadIPCValue(const std::string& name) override;
  bool PostOrderLines(const TExDataGridLines& lines) override;
  ClipboardCheck TakeClipboard(std::string_view text) override;
  ClipboardOutput CopyToClipboard(TExDataGridLines& lines) override;
  void ShowFeedback(std::uint32_t colour) override;
  void PlaySuccessSound() override;
  void BringToForeground() override;
  Separators NumberSeparators() override { return Settings().Numbers(); }
  std::string TemplateFolder() override;

 private:
  static constexpr UINT_PTR kTimer1 = 1;          // returns the panel to its idle colour
  static constexpr UINT_PTR kReadRetryTimer = 2;  // reads a clipboard that was held elsewhere

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void FormCreate();
  void ClipboardChanged();
  void ReadClipboardChange();
  void ConvertText(std::unique_ptr<ClipboardCopy> copy);
  void Timer1Timer();
  void OpenTemplateFolder();
  void ShowMenu(LPARAM screen_point);
  void MenuCommand(UINT command);
  void ExplainLastRun();
  void ProposeTemplateFromLastCopy();

  // The text that started the last run, for the menu; in memory only.
  struct LastRun {
    std::string Text;
    bool Converted = false;
  };

  HWND application_window_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  std::uint32_t panel_colour_;
  bool timer_enabled_ = false;
  int pressed_button_ = 0;  // kNoButton, kCloseButtonId or kFolderButtonId
  TWave wave_;
  std::string picture_;  // 48 x 48 BGRA, top row first
  std::string version_hint_;
  std::unique_ptr<SystemClipboard> clipboard_;
  std::unique_ptr<ClipboardViewer> viewer_;
  ClipboardReadSchedule reads_;
  DWORD run_sequence_ = 0;      // the sequence number at which the running text was read
  DWORD claimed_sequence_ = 0;  // the sequence number after the hand-over emptied the clipboard
  ConversionRun run_;
  std::optional<LastRun> last_run_;
};

}  // namespace zw
