#include "app/console_host.h"

#include <utility>

#include "exchange/UCustomTextParser.h"
#include "exchange/exchange_requests.h"

namespace zw {

ConsoleHost::ConsoleHost(ConsoleHostOptions options) : options_(std::move(options)) {}

std::string ConsoleHost::ReadIPCValue(const std::string& name) {
  if (name == "TAXH" && !options_.TaxFromServer) return options_.Tax;
  if (!options_.Exchange) return {};
  const std::string answer = ReadIPCValueSync(name);
  if (name == "CANPOSTJSON" && !IsTrueAnswer(answer)) {
    Message("CANPOSTJSON ist nicht \"1\"; die Positionen kommen in die Zwischenablage");
  }
  return answer;
}

bool ConsoleHost::PostOrderLines(const TExDataGridLines& lines) {
  const bool posted = PostOrderLinesToServer(lines);
  if (posted) {
    Deliver(lines);
  } else {
    Message("der Auftrag wurde nicht angenommen (OUTDATA)");
  }
  return posted;
}

ClipboardCheck ConsoleHost::TakeClipboard(std::string_view) { return ClipboardCheck::Holds; }

ClipboardOutput ConsoleHost::CopyToClipboard(TExDataGridLines& lines) {
  Deliver(lines);
  return ClipboardOutput::Placed;
}

void ConsoleHost::ShowFeedback(std::uint32_t) {}

void ConsoleHost::Deliver(const TExDataGridLines& lines) {
  if (delivered_) return;
  delivered_ = true;
  if (options_.OnDelivered) options_.OnDelivered(lines);
}

void ConsoleHost::Message(const std::string& text) {
  if (options_.Messages != nullptr) *options_.Messages += "zwconvert: " + text + "\n";
}

}  // namespace zw
