#include "support/demo_data.h"

#include "templates/default_template_texts.h"

namespace zw::test {

namespace {

constexpr const char* kDemoHeading =
    "(Pos)\tStk\tBezeichnung\tBreite x H\xF6he\t\tm\xB2\tPreis/m\xB2\tCHF/Stk\tTotal/CHF";
constexpr const char* kDemoRow = "(1,)\t2\tFloat 3mm\t500\t400\t0,40\t76,00\t15,20\t30,40";

}  // namespace

std::string DemoCalculation() {
  const char* const rows[] = {
      kDemoHeading,
      "\t\t\t\t\t\t\t\t",
      kDemoRow,
      "(2,)\t\t Floate 3mm\t\t\t0,00\t76,00\t0,00\t0,00",
      "(3,)\t\tFloat 3mm\t\t\t0,00\t76,00\t0,00\t0,00",
      "\t\t\t\t\t\t\t\t",
      "\t1\tKitt und Kleinmaterial\t\t\t0,40\t15,00\t\t6,00",
      "\t1\tGlasentsorgung\t\t\t0,40\t7,50\t\t3,00",
      "\t\t\t\t\t\t\t\t",
      "\tStd\tBezeichnung\t\t\t\t\tCHF/Std\tTotal/CHF",
      "\t\t  T\xFCre / Fenster..\t\t\t\t\t80,00\t0,00",
      "\t\t\t\t\t\t\t\t",
      "\t\t\t\t\t\t\tSumme\t39,40",
      "\t\t\t\t\t\t\t+8% MwSt.\t3,15",
      "\t\t\t\t\t\t\t\t",
      "\t\t\tRechnungsbetrag in CHF\t\t\t\t\t42,55",
  };
  std::string text;
  for (const char* row : rows) text += std::string(row) + "\r\n";
  return text;
}

std::string DemoRows(int rows) {
  const std::string row = std::string(kDemoRow) + "\r\n";
  std::string text = std::string(kDemoHeading) + "\r\n";
  text.reserve(text.size() + row.size() * static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) text += row;
  return text;
}

std::string DemoRowsOfSize(std::size_t size) {
  const std::size_t heading = std::string(kDemoHeading).size() + 2;
  const std::size_t row = std::string(kDemoRow).size() + 2;
  return DemoRows(static_cast<int>(size <= heading ? 0 : (size - heading + row - 1) / row));
}

std::string DemoRules() { return std::string(DefaultTemplateText(DefaultTemplate::Demo)); }

}  // namespace zw::test
