#include "support/demo_data.h"

#include "templates/default_template_texts.h"

namespace zw::test {

std::string DemoCalculation() {
  const char* const rows[] = {
      "(Pos)\tStk\tBezeichnung\tBreite x H\xF6he\t\tm\xB2\tPreis/m\xB2\tCHF/Stk\tTotal/CHF",
      "\t\t\t\t\t\t\t\t",
      "(1,)\t2\tFloat 3mm\t500\t400\t0,40\t76,00\t15,20\t30,40",
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

std::string DemoRules() { return std::string(DefaultTemplateText(DefaultTemplate::Demo)); }

}  // namespace zw::test
