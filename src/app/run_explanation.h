#pragma once

#include <string>
#include <string_view>

#include "base/separators.h"

namespace zw {

// The report of the ExplainReport for one offline run of the text, as zwconvert --explain
// writes it: every template of the folder tried, why it was skipped or won, and the fate of
// every record. German, Windows-1252, one line per event ending in "\n". The exchange is not
// asked; the tax only goes into the lines, which the report does not show. Errors of the run
// are passed on.
std::string ExplainConversion(std::string_view text, const std::string& folder,
                              const Separators& separators, const std::string& tax);

}  // namespace zw
