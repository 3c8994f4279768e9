#include "zwconvert_run.h"

#include <exception>
#include <string_view>
#include <utility>

#include "app/console_host.h"
#include "app/conversion_run.h"
#include "app/explain_report.h"
#include "base/errors.h"
#include "base/file_system.h"
#include "base/text_sink.h"
#include "console_text.h"
#include "exchange/UCustomTextParser.h"
#include "exchange/exchange_requests.h"
#include "line_dump.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/uDataGridLines.h"
#include "proposal/template_proposal.h"
#include "templates/template_files.h"
#include "zwconvert_options.h"

namespace zw {
namespace {

constexpr int kConverted = 0;
constexpr int kNoTemplate = 1;
constexpr int kFailed = 2;

// The bytes of the input file, or of standard input for "-".
ByteBuffer ReadInput(const std::string& path, std::istream& in) {
  if (path != "-") return ReadFileBuffer(path);
  ByteBuffer bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    bytes.append(std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
  if (in.bad()) throw Error("Die Standardeingabe kann nicht gelesen werden");
  return bytes;
}

// The clipboard text as CF_TEXT holds it: up to the first zero byte.
std::string_view ClipboardText(const ByteBuffer& input) {
  const std::string_view bytes = input.view();
  return bytes.substr(0, bytes.find('\0'));
}

// The clipboard item of a format: its index among the four that the tool places.
std::size_t ClipboardItemIndex(OutputFormat format) {
  switch (format) {
    case OutputFormat::DataGrid:
      return 0;
    case OutputFormat::Html:
      return 1;
    case OutputFormat::Text:
      return 2;
    default:
      return 3;
  }
}

// Exactly what the tool would place on the clipboard in one format, written to out in pieces as
// it is made; only that format is made.
void WriteClipboardFormat(const TExDataGridLines& lines, OutputFormat format, std::ostream& out) {
  StreamSink sink(out);
  try {
    if (format == OutputFormat::Text) {
      // CF_TEXT without the zero byte that ends it on the clipboard.
      lines.WriteRendering(Rendering::Text, sink);
    } else {
      lines.WriteClipboardBlock(ClipboardItemIndex(format), "", sink);
    }
  } catch (const Error&) {
    throw;
  } catch (const std::exception&) {
    throw Error("Die Formate der Zwischenablage konnten nicht erzeugt werden");
  }
  sink.Finish();
}

// The lines in the format asked for, written straight to out.
void WriteRendered(const TExDataGridLines& lines, OutputFormat format, std::ostream& out) {
  if (format == OutputFormat::Lines) {
    DumpLines(lines, out);
  } else if (format == OutputFormat::Json) {
    const std::string json = OrderJsonText(lines);
    out.write(json.data(), static_cast<std::streamsize>(json.size()));
  } else {
    WriteClipboardFormat(lines, format, out);
  }
}

int Convert(const ZwconvertOptions& options, std::istream& in, std::ostream& out,
            std::string& explanation) {
  const ByteBuffer input = ReadInput(options.InputPath, in);
  const std::string_view text = ClipboardText(input);

  ExplainReport report(explanation);
  if (options.Exchange && !options.ServerName.empty()) SetSelectedServerName(options.ServerName);
  ConsoleHostOptions host_options;
  host_options.Folder =
      options.TemplatesDir.empty() ? TemplateFolder() : PrepareTemplateFolder(options.TemplatesDir);
  host_options.NumberSeparators =
      Separators{options.DecimalSeparator, options.ThousandSeparator, options.ListSeparator};
  host_options.Tax = options.Tax;
  host_options.TaxFromServer = options.Exchange && !options.TaxGiven;
  host_options.Exchange = options.Exchange;
  if (options.Explain) host_options.Observer = &report;
  host_options.Messages = &explanation;
  // Written as soon as the run hands the lines over: nothing after that can fail.
  host_options.OnDelivered = [&](const TExDataGridLines& lines) {
    WriteRendered(lines, options.Format, out);
  };
  ConsoleHost host(std::move(host_options));
  ConversionRun run;
  run.Run(host, text);
  if (!host.Delivered()) return kNoTemplate;
  out.flush();
  return kConverted;
}

// The proposal on standard output; with --explain its reasons on standard error.
int Suggest(const ZwconvertOptions& options, std::istream& in, std::ostream& out,
            std::string& explanation) {
  const ByteBuffer input = ReadInput(options.InputPath, in);
  const std::string_view text = ClipboardText(input);
  const Separators separators{options.DecimalSeparator, options.ThousandSeparator,
                              options.ListSeparator};
  try {
    const TemplateProposal proposal = ProposeTemplate(text, separators);
    if (options.Explain) {
      for (const std::string& reason : proposal.Reasons) explanation += reason + "\n";
    }
    out.write(proposal.Text.data(), static_cast<std::streamsize>(proposal.Text.size()));
    out.flush();
    return kConverted;
  } catch (const NoTableError& error) {
    explanation += std::string("zwconvert: ") + error.what() + "\n";
    return kNoTemplate;
  }
}

}  // namespace

int RunZwconvert(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
  ZwconvertOptions options;
  try {
    options = ParseZwconvertOptions(args);
  } catch (const UsageError& error) {
    err << "zwconvert: " << ToConsoleText(error.what()) << "\n"
        << ToConsoleText("Hilfe: zwconvert --help") << "\n";
    return kFailed;
  }
  if (options.Help) {
    out << ToConsoleText(kZwconvertUsage);
    return kConverted;
  }
  if (options.Version) {
    out << ToConsoleText(kZwconvertVersion);
    return kConverted;
  }

  std::string explanation;
  int status = kFailed;
  try {
    status = options.Suggest ? Suggest(options, in, out, explanation)
                             : Convert(options, in, out, explanation);
  } catch (const std::exception& error) {
    err << ToConsoleText(explanation) << "zwconvert: " << ToConsoleText(error.what()) << "\n";
    return kFailed;
  }
  err << ToConsoleText(explanation);
  return status;
}

}  // namespace zw
