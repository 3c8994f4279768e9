#include "demo_text.h"

#include "templates/default_template_texts.h"

namespace zw::bench {

std::string DemoLikeText(int rows) {
  std::string text =
      "(Pos)\tStk\tBezeichnung\tBreite x H\xF6he\t\tm\xB2\tPreis/m\xB2\tCHF/Stk\tTotal/CHF\r\n";
  for (int i = 1; i <= rows; ++i) {
    const std::string n = std::to_string(i);
    const std::string quantity = std::to_string(1 + i % 7);
    text += "(" + n + ",)\t" + quantity + "\tFloat 3mm klar, Position " + n +
            "\t500\t400\t0,40\t76,00\t15,20\t" + quantity + "0,40\r\n";
  }
  text += "\t\t\t\t\t\t\tSumme\t39,40\r\n";
  return text;
}

std::string DemoRules() { return std::string(DefaultTemplateText(DefaultTemplate::Demo)); }

void FillDemoLikeLines(TExDataGridLines& lines, int count) {
  for (int i = 1; i <= count; ++i) {
    TDataGridLine& line = lines.Add();
    line.Pos = "(" + std::to_string(i) + ",)";
    line.Bezeichnung1 = "Float 3mm klar, Position " + std::to_string(i);
    line.Isnetto = true;
    if (i % 10 == 0) {
      line.TypeLine = "-";
      continue;
    }
    line.Stueck = std::to_string(1 + i % 7);
    line.Einzelbetrag = "15,2";
    line.Steuer = "8";
    if (i % 3 == 0) line.Second = "Masse in mm: 500 X 400 = 0,40 m\xB2";
  }
}

}  // namespace zw::bench
