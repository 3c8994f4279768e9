#pragma once

#include <string>
#include <vector>

#include "proposal/row_reading.h"

// The "IgnoreLines" entries of a proposal: the heading, the sums, later headings, and the
// titles and notes that would otherwise become lines. No entry drops a row read as a line.
namespace zw {

struct IgnoreEntry {
  std::string Value;
  std::string Reason;  // German, for the comment above the entry
};

std::vector<IgnoreEntry> ProposeIgnoreEntries(const Reading& reading);

}  // namespace zw
