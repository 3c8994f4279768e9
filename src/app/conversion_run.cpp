#include "app/conversion_run.h"

#include <exception>
#include <optional>

#include "app/feedback_colours.h"
#include "app/template_loop.h"
#include "exchange/exchange_requests.h"
#include "mapping/row_mapping.h"

namespace zw {
namespace {

// Ends a run on every path: the no-match colour unless the lines were delivered (or gave way
// to a newer copy, whose own run shows its colour), then Busy is cleared, also when showing
// the colour fails.
class RunEnd {
 public:
  RunEnd(ConversionHost& host, bool& busy) : host_(host), busy_(busy) { busy_ = true; }
  ~RunEnd() {
    if (finished_) return;
    // Unwinding: the error in flight is the one passed on, a failing colour must not replace it.
    try {
      Finish();
    } catch (...) {
    }
  }
  RunEnd(const RunEnd&) = delete;
  RunEnd& operator=(const RunEnd&) = delete;

  // The normal way out; here an error of the feedback is passed on.
  void Finish() {
    finished_ = true;
    const ClearOnExit clear{busy_};
    if (!success && !superseded) host_.ShowFeedback(NoMatchColour);
  }

  bool success = false;
  bool superseded = false;

 private:
  struct ClearOnExit {
    bool& flag;
    ~ClearOnExit() { flag = false; }
  };

  ConversionHost& host_;
  bool& busy_;
  bool finished_ = false;
};

void HandOver(ConversionHost& host, std::string_view clipboard_text, TExDataGridLines& lines,
              const WinningTemplate& winner, RunEnd& end) {
  // Copied during the run, the clipboard's content is the user's latest; its own change
  // notification converts it, if it is text at all. The lines of the older text give way.
  // A clipboard that stays open elsewhere could take no lines either; the text there stays.
  ClipboardCheck check = ClipboardCheck::Holds;
  try {
    check = host.TakeClipboard(clipboard_text);
  } catch (const std::exception&) {
    // The copied text goes in any case; a clipboard that cannot be cleared must not stop the run.
  }
  if (check != ClipboardCheck::Holds) {
    end.superseded = check == ClipboardCheck::Replaced;
    return;
  }
  SplitDescriptions(lines, winner.Settings.DescriptionLimit, host.LoopObserver());

  bool delivered = false;
  if (winner.Settings.DirectToBrevanta) {
    try {
      // Deliberate: a post the server did not accept falls back to the clipboard, so the lines
      // the user copied are not lost while success is shown.
      delivered = IsTrueAnswer(host.ReadIPCValue("CANPOSTJSON")) && host.PostOrderLines(lines);
    } catch (...) {
      // A server list that stays locked raises; the clipboard is already empty, so the lines
      // go there before the error is passed on.
      host.CopyToClipboard(lines);
      throw;
    }
  }
  if (!delivered) {
    const ClipboardOutput output = host.CopyToClipboard(lines);
    // A copy made during the post or the output is newer; its own run shows its colour.
    if (output == ClipboardOutput::GaveWay) {
      end.superseded = true;
      return;
    }
    delivered = output == ClipboardOutput::Placed;
  }
  // Deliberate: lines that reached neither the order nor the clipboard are no success.
  if (!delivered) return;

  host.ShowFeedback(SuccessColour);
  host.PlaySuccessSound();
  end.success = true;
  host.BringToForeground();
}

// The objects of the run live here, so they are released before Busy is cleared.
void Convert(ConversionHost& host, std::string_view clipboard_text, RunEnd& end) {
  TExDataGridLines lines(host.NumberSeparators());
  const std::string default_tax = host.ReadIPCValue("TAXH");
  TemplateLoopOptions options;
  options.Folder = host.TemplateFolder();
  options.RetrySleeper = &host.RetrySleeper();
  options.Observer = host.LoopObserver();
  const std::optional<WinningTemplate> winner =
      RunTemplates(clipboard_text, default_tax, lines, options);
  if (winner) HandOver(host, clipboard_text, lines, *winner, end);
}

}  // namespace

bool ConversionRun::Run(ConversionHost& host, std::string_view clipboard_text) {
  // A run entered from inside a run (a message dispatched during a wait) drops its text.
  if (busy_) return false;
  RunEnd end(host, busy_);
  Convert(host, clipboard_text, end);
  end.Finish();
  return end.success;
}

}  // namespace zw
