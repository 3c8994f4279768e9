#pragma once

#include <functional>
#include <string>

#include "app/conversion_run.h"

// The conversion run without a window: the hand-over as the tool makes it, with the lines
// handed to a function instead of the system clipboard. zwconvert converts through it, and
// the end-to-end tests compute what the tool must place.
namespace zw {

struct ConsoleHostOptions {
  std::string Folder;  // the template folder, ending in the path delimiter
  Separators NumberSeparators;
  std::string Tax;             // the default tax of the lines
  bool TaxFromServer = false;  // ask the exchange server for "TAXH" instead
  bool Exchange = false;       // ask the exchange server and post as the tool does
  TemplateLoopObserver* Observer = nullptr;
  std::string* Messages = nullptr;  // what the exchange did not take, in German
  // Called once with the lines, when they are posted or would be placed on the clipboard.
  std::function<void(const TExDataGridLines& lines)> OnDelivered;
};

class ConsoleHost final : public ConversionHost {
 public:
  explicit ConsoleHost(ConsoleHostOptions options);

  // Whether the run delivered lines.
  bool Delivered() const { return delivered_; }

  std::string ReadIPCValue(const std::string& name) override;
  bool PostOrderLines(const TExDataGridLines& lines) override;
  // There is no clipboard that a newer copy could take: it always holds the run's text.
  ClipboardCheck TakeClipboard(std::string_view text) override;
  ClipboardOutput CopyToClipboard(TExDataGridLines& lines) override;
  void ShowFeedback(std::uint32_t colour) override;
  void PlaySuccessSound() override {}
  void BringToForeground() override {}
  Separators NumberSeparators() override { return options_.NumberSeparators; }
  std::string TemplateFolder() override { return options_.Folder; }
  TemplateLoopObserver* LoopObserver() override { return options_.Observer; }

 private:
  void Deliver(const TExDataGridLines& lines);
  void Message(const std::string& text);

  ConsoleHostOptions options_;
  bool delivered_ = false;
};

}  // namespace zw
