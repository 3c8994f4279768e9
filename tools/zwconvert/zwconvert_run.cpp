#include "zwconvert_run.h"

#include <exception>

#include "app/template_loop.h"
#include "base/errors.h"
#include "base/file_system.h"
#include "console_text.h"
#include "exchange/UCustomTextParser.h"
#include "exchange/exchange_requests.h"
#include "explain_report.h"
#include "line_dump.h"
#include "mapping/row_mapping.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/uDataGridLines.h"
#include "templates/template_files.h"
#include "zwconvert_options.h"

namespace zw {
namespace {

constexpr int kConverted = 0;
constexpr int kNoTemplate = 1;
constexpr int kFailed = 2;

// The clipboard text as CF_TEXT holds it: up to the first zero byte.
std::string ReadInput(const std::string& path, std::istream& in) {
  std::string text;
  if (path == "-") {
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
      text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw Error("Die Standardeingabe kann nicht gelesen werden");
  } else {
    text = ReadFileBytes(path);
  }
  const std::size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}

// Cuts the winner's long descriptions and tells the report which lines were cut.
void SplitDescriptions(TExDataGridLines& lines, int limit, ExplainReport* report) {
  std::vector<std::size_t> lengths;
  for (int i = 0; i < lines.Count(); ++i) lengths.push_back(lines.Items(i).Bezeichnung1.size());
  SplitLongDescriptions(lines, limit);
  if (report == nullptr) return;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::size_t kept = lines.Items(i).Bezeichnung1.size();
    if (kept != lengths[static_cast<std::size_t>(i)]) report->OnDescriptionCut(i + 1, kept, limit);
  }
}

// Exactly what the tool would place on the clipboard in one format.
std::string ClipboardBytes(TExDataGridLines& lines, OutputFormat format) {
  RecordingClipboard clipboard;
  if (!lines.CopyToClipboard("", clipboard)) {
    throw Error("Die Formate der Zwischenablage konnten nicht erzeugt werden");
  }
  const ClipboardFormats& formats = RegisteredClipboardFormats();
  switch (format) {
    case OutputFormat::Text: {
      std::string text = clipboard.BlockOf(formats.Text);
      if (!text.empty()) text.pop_back();  // the zero byte that ends CF_TEXT
      return text;
    }
    case OutputFormat::Html:
      return clipboard.BlockOf(formats.Html);
    case OutputFormat::Csv:
      return clipboard.BlockOf(formats.Csv);
    case OutputFormat::DataGrid:
      return clipboard.BlockOf(formats.DataGrid);
    case OutputFormat::Lines:
    case OutputFormat::Json:
      break;
  }
  return {};
}

// The order JSON exactly as the export posts it.
std::string OrderJson(const TExDataGridLines& lines) {
  std::string text;
  PostOrderLines(lines, [&](const std::string& data, int, const std::string&) {
    text = data;
    return true;
  });
  return text;
}

// Asks whether the open order takes lines and posts them when it does; says what happened.
void PostToServer(const TExDataGridLines& lines, std::string& messages) {
  if (!IsTrueAnswer(ReadIPCValueSync("CANPOSTJSON"))) {
    messages +=
        "zwconvert: CANPOSTJSON ist nicht \"1\"; die Positionen kommen in die Zwischenablage\n";
    return;
  }
  bool posted = false;
  PostOrderLines(lines, [&](const std::string& data, int index, const std::string& command) {
    posted = WriteIPCValueASync(data, index, command);
    return posted;
  });
  if (!posted) messages += "zwconvert: der Auftrag wurde nicht angenommen (OUTDATA)\n";
}

int Convert(const ZwconvertOptions& options, std::istream& in, std::ostream& out,
            std::string& explanation) {
  const std::string text = ReadInput(options.InputPath, in);

  ExplainReport report(explanation);
  TemplateLoopOptions loop;
  loop.Folder =
      options.TemplatesDir.empty() ? TemplateFolder() : PrepareTemplateFolder(options.TemplatesDir);
  if (options.Explain) loop.Observer = &report;

  if (options.Exchange && !options.ServerName.empty()) SetSelectedServerName(options.ServerName);
  const std::string tax =
      options.Exchange && !options.TaxGiven ? ReadIPCValueSync("TAXH") : options.Tax;

  TExDataGridLines lines(
      Separators{options.DecimalSeparator, options.ThousandSeparator, options.ListSeparator});
  const std::optional<WinningTemplate> winner = RunTemplates(text, tax, lines, loop);
  if (!winner) {
    if (options.Explain) report.OnNoWinner();
    return kNoTemplate;
  }
  SplitDescriptions(lines, winner->Settings.DescriptionLimit, options.Explain ? &report : nullptr);
  if (options.Exchange && winner->Settings.DirectToBrevanta) {
    PostToServer(lines, explanation);
  }

  if (options.Format == OutputFormat::Lines) {
    DumpLines(lines, out);
  } else if (options.Format == OutputFormat::Json) {
    out << OrderJson(lines);
  } else {
    const std::string bytes = ClipboardBytes(lines, options.Format);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  out.flush();
  return kConverted;
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

  std::string explanation;
  int status = kFailed;
  try {
    status = Convert(options, in, out, explanation);
  } catch (const std::exception& error) {
    err << ToConsoleText(explanation) << "zwconvert: " << ToConsoleText(error.what()) << "\n";
    return kFailed;
  }
  err << ToConsoleText(explanation);
  return status;
}

}  // namespace zw
