#include "proposal/template_proposal.h"

namespace zw {

TemplateProposal ProposeTemplate(std::string_view, const Separators&) {
  throw NoTableError(
      "Der Text enth\xE4lt keine Tabelle, aus der sich eine Vorlage machen l\xE4sst");
}

}  // namespace zw
