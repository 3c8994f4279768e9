#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/template_loop.h"
#include "base/separators.h"
#include "base/sleeper.h"
#include "orderlines/uDataGridLines.h"

// One conversion of a clipboard text into order lines and their hand-over. Every effect goes
// through the host (the main window), so the run itself has no platform code.
namespace zw {

enum class ClipboardCheck {
  Holds,        // the clipboard still holds the text
  Replaced,     // something else was copied since
  Unavailable,  // another program keeps the clipboard open
};

enum class ClipboardOutput {
  Placed,   // the lines are on the clipboard
  Failed,   // they could not be placed
  GaveWay,  // a newer copy is there; it was left alone
};

class ConversionHost {
 public:
  virtual ~ConversionHost() = default;

  // The exchange server's answer to a value name; "" when there is none.
  virtual std::string ReadIPCValue(const std::string& name) = 0;
  // Posts the lines as order JSON into the open order; true when the post was answered.
  virtual bool PostOrderLines(const TExDataGridLines& lines) = 0;
  // Takes the system clipboard for the hand-over: when it still holds the text the run
  // converts, empties it while holding it (Holds). What was copied since is newer than the
  // run's lines and must not be replaced by them (Replaced).
  virtual ClipboardCheck TakeClipboard(std::string_view text) = 0;
  // Places the four clipboard formats of the lines, unless a copy made since the clipboard
  // was taken is there (GaveWay).
  virtual ClipboardOutput CopyToClipboard(TExDataGridLines& lines) = 0;
  virtual void ShowFeedback(std::uint32_t colour) = 0;
  virtual void PlaySuccessSound() = 0;
  virtual void BringToForeground() = 0;
  // The separators that the run reads and writes numbers and CSV fields with.
  virtual Separators NumberSeparators() = 0;
  // The folder of the template files, ending in the path delimiter.
  virtual std::string TemplateFolder() = 0;
  // The pauses between attempts to read a locked template file.
  virtual Sleeper& RetrySleeper() { return SystemSleeper(); }
  // Follows the template loop and the description cut; none by default.
  virtual TemplateLoopObserver* LoopObserver() { return nullptr; }
};

class ConversionRun {
 public:
  // Converts the text with the first template that yields order lines and hands them over;
  // true when they were delivered. A call while a run is in progress returns false at once
  // without any effect. Errors are passed on after the no-match colour has been shown and
  // Busy cleared.
  bool Run(ConversionHost& host, std::string_view clipboard_text);

  bool IsBusy() const { return busy_; }

 private:
  bool busy_ = false;
};

}  // namespace zw
