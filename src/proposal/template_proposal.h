#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/separators.h"

// A template file proposed for a copied calculation, read the way a person reads the table:
// the delimiter, the heading row, which column holds what, and the rows that are no items.
namespace zw {

// The text holds no table a template could be made for; the message says why, in German.
class NoTableError : public Error {
 public:
  explicit NoTableError(const std::string& reason);
};

struct TemplateProposal {
  // The template file: Windows-1252, CR LF, every key it sets with a ";" comment above it.
  std::string Text;
  // For --explain: the heading row found and the reason for each column, one line each.
  std::vector<std::string> Reasons;
};

// Numbers in the text are read with the separators given, as the conversion will read them.
// Throws NoTableError.
TemplateProposal ProposeTemplate(std::string_view text, const Separators& separators);

}  // namespace zw
