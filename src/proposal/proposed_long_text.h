#pragma once

#include <optional>
#include <string>

#include "proposal/row_reading.h"

// "LongText" of a proposal: the measures of an item ("Breite x Höhe" over two columns, or
// "Breite" and "Höhe"), with the area beside them when there is one.
namespace zw {

struct ProposedLongText {
  std::string Text;    // with placeholders such as "[D]"
  std::string Reason;  // German, for the comment above the key
};

// None unless the heading names the measures and the items show them.
std::optional<ProposedLongText> ProposeMeasureLongText(const Reading& reading);

}  // namespace zw
