// A template proposed for an arbitrary copied text: the proposal is made, or the text is
// refused as holding no table; a proposal is a template file of CR LF lines whose every key
// line is read back by the rule lookup as it was written.
#include <cstdint>
#include <string>

#include "base/text_lines.h"
#include "fuzz_check.h"
#include "mapping/template_settings.h"
#include "proposal/template_proposal.h"
#include "templates/template_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // The clipboard's text ends at its first zero.
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  zw::TemplateProposal proposal;
  try {
    proposal = zw::ProposeTemplate(text, zw::Separators{});
  } catch (const zw::NoTableError&) {
    return 0;
  }
  FUZZ_CHECK(proposal.Text.size() >= 2);
  FUZZ_CHECK(proposal.Text.compare(proposal.Text.size() - 2, 2, "\r\n") == 0);
  for (std::size_t at = 0; (at = proposal.Text.find_first_of("\r\n", at)) != std::string::npos;
       at += 2) {
    FUZZ_CHECK(proposal.Text.compare(at, 2, "\r\n") == 0);
  }
  const zw::TemplateRules rules(zw::SplitLines(proposal.Text));
  const zw::TemplateSettings settings = zw::TemplateSettings::Of(rules);
  FUZZ_CHECK(!settings.Columns.Description.empty());
  FUZZ_CHECK(proposal.Reasons.size() >= 3);
  return 0;
}
