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

}  // namespace zw::bench
