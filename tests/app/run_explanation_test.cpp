#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/run_explanation.h"
#include "console_text.h"
#include "support/demo_data.h"
#include "support/temp_folder.h"
#include "zwconvert_run.h"

namespace zw {
namespace {

struct ExplainCase {
  const char* Name;
  std::vector<std::pair<std::string, std::string>> Templates;  // file name, rules
  std::string Text;
  const char* LastLine;  // the report's verdict
};

// The report names the template files by path; each run gets a folder of its own, as the
// first run writes the shipped files into it.
std::string WithoutFolder(std::string report, const std::string& folder) {
  for (std::size_t at = report.find(folder); at != std::string::npos; at = report.find(folder))
    report.replace(at, folder.size(), "<Ordner>/");
  return report;
}

// The tool's explanation and zwconvert --explain are one text: the same templates, separators
// and tax give the same bytes (zwconvert's in the console's encoding).
TEST(ExplainConversion, IsWhatZwconvertExplainWrites) {
  const std::vector<ExplainCase> cases = {
      {"winner",
       {{"a.txt", "MustContaintsLine=Gibt es nicht\r\nDescription1=C\r\n"},
        {"glas.txt", test::DemoRules()}},
       test::DemoCalculation(),
       "  gew\xE4hlt: 3 Positionen\n"},
      {"no winner",
       {{"a.txt", "Quantity=A\r\nDescription1=B\r\nPrice=C\r\nMustContaintsLine=Kontrolle\r\n"}},
       test::DemoCalculation(),
       "Keine Vorlage ergab Positionen.\n"},
      {"empty folder",
       {},
       "1\tRohr\t2\r\n",
       "Keine Vorlage im Ordner (beschreibung.txt und demo.txt werden nie benutzt).\n"},
  };
  for (const ExplainCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const test::TempFolder tool_folder;
    const test::TempFolder zwconvert_folder;
    for (const auto& [name, rules] : c.Templates) {
      tool_folder.Write(name, rules);
      zwconvert_folder.Write(name, rules);
    }

    std::istringstream in(c.Text);
    std::ostringstream out;
    std::ostringstream err;
    RunZwconvert({"--templates", zwconvert_folder.Path(), "--tax", "8", "--explain"}, in, out, err);
    const std::string report = ExplainConversion(c.Text, tool_folder.Path(), {',', '.', ';'}, "8");

    EXPECT_EQ(WithoutFolder(ToConsoleText(report), tool_folder.Path()),
              WithoutFolder(err.str(), zwconvert_folder.Path()));
    const std::string last_line(c.LastLine);
    ASSERT_GE(report.size(), last_line.size());
    EXPECT_EQ(report.substr(report.size() - last_line.size()), last_line);
  }
}

}  // namespace
}  // namespace zw
