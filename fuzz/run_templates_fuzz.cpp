// The whole conversion over an arbitrary template file and an arbitrary clipboard text: it
// ends with lines or without, or with one of the two errors that refuse a text; cutting long
// descriptions loses no character; the lines always make four clipboard formats.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/template_loop.h"
#include "base/sleeper.h"
#include "fuzz_check.h"
#include "mapping/row_mapping.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/uDataGridLines.h"

namespace {

class NoPause final : public zw::Sleeper {
 public:
  void Sleep(std::chrono::milliseconds) override {}
};

// One scratch template folder for the whole fuzzing process.
const std::string& TemplateFolder() {
  static const std::string folder = [] {
    std::string path = "/tmp/zw-fuzz-templates-XXXXXX";
    FUZZ_CHECK(mkdtemp(path.data()) != nullptr);
    return path + "/";
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string rules = input.ConsumeRandomLengthString(2000);
  std::string text = input.ConsumeRemainingBytesAsString();
  // The clipboard's text ends at its first zero.
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  {
    std::ofstream file(TemplateFolder() + "a.txt", std::ios::binary | std::ios::trunc);
    file << rules;
  }

  NoPause no_pause;
  zw::TemplateLoopOptions options;
  options.Folder = TemplateFolder();
  options.RetrySleeper = &no_pause;
  zw::TExDataGridLines lines;
  std::optional<zw::WinningTemplate> winner;
  try {
    winner = zw::RunTemplates(text, "19", lines, options);
  } catch (const zw::TooManyLinesError&) {
    return 0;
  } catch (const zw::LongTextTooLargeError&) {
    return 0;
  }
  if (!winner) {
    FUZZ_CHECK(lines.Count() == 0);
    return 0;
  }
  FUZZ_CHECK(lines.Count() > 0 && lines.Count() <= zw::kMaxOrderLines);

  std::vector<std::string> before;
  for (int i = 0; i < lines.Count(); ++i) {
    before.push_back(lines.Items(i).Bezeichnung1.str() + "|" + lines.Items(i).Second.str());
  }
  zw::SplitLongDescriptions(lines, winner->Settings.DescriptionLimit);
  for (int i = 0; i < lines.Count(); ++i) {
    const zw::TDataGridLine& line = lines.Items(i);
    const std::string unchanged = line.Bezeichnung1.str() + "|" + line.Second.str();
    // A cut description keeps its blank, and the long text starts with the same blank.
    const std::string cut =
        line.Second.empty() ? unchanged : line.Bezeichnung1.str() + line.Second.substr(1) + "|";
    FUZZ_CHECK(before[static_cast<std::size_t>(i)] == unchanged ||
               before[static_cast<std::size_t>(i)] == cut);
  }

  zw::RecordingClipboard clipboard;
  FUZZ_CHECK(lines.CopyToClipboard("{GUID}", clipboard));
  return 0;
}
