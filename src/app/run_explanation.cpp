#include "app/run_explanation.h"

#include <utility>

#include "app/console_host.h"
#include "app/explain_report.h"

namespace zw {

std::string ExplainConversion(std::string_view text, const std::string& folder,
                              const Separators& separators, const std::string& tax) {
  std::string explanation;
  {
    // The report writes its last rows when it ends, so it ends before the text is returned.
    ExplainReport report(explanation);
    ConsoleHostOptions options;
    options.Folder = folder;
    options.NumberSeparators = separators;
    options.Tax = tax;
    options.Observer = &report;
    ConsoleHost host(std::move(options));
    ConversionRun().Run(host, text);
  }
  return explanation;
}

}  // namespace zw
