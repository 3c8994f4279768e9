#include "proposal/proposed_ignore_lines.h"

#include <algorithm>
#include <initializer_list>

#include "proposal/heading_words.h"
#include "texttable/normalize.h"

namespace zw {
namespace {

class IgnoreList {
 public:
  explicit IgnoreList(const Reading& reading) {
    for (std::size_t i = 0; i < reading.Table.Rows.size(); ++i) {
      const RowFate fate = reading.Fates[i];
      if (fate == RowFate::Item || fate == RowFate::Continuation || fate == RowFate::Section) {
        kept_.push_back(NormalizeText(RowValue(reading.Table.Rows[i], '\0')));
      }
    }
  }

  // Adds the first value that drops no row that is read as a line; false when none does.
  bool Add(std::initializer_list<std::string> values, const std::string& reason) {
    for (const std::string& value : values) {
      const std::string normalized = NormalizeText(value);
      if (normalized.empty() || value.find_first_of("\r\n") != std::string::npos) continue;
      if (std::find(seen_.begin(), seen_.end(), normalized) != seen_.end()) return true;
      const bool drops_line = std::any_of(kept_.begin(), kept_.end(), [&](const std::string& row) {
        return row.find(normalized) != std::string::npos;
      });
      if (drops_line) continue;
      seen_.push_back(normalized);
      entries_.push_back({value, reason});
      return true;
    }
    return false;
  }

  const std::vector<IgnoreEntry>& Entries() const { return entries_; }

 private:
  std::vector<std::string> kept_;
  std::vector<std::string> seen_;
  std::vector<IgnoreEntry> entries_;
};

void CollectIgnoreEntries(const Reading& reading, IgnoreList& ignore) {
  const CalculationTable& table = reading.Table;
  const char delimiter = table.Delimiter;
  if (const CalculationRow* heading = reading.HeadingRow()) {
    ignore.Add({RowValue(*heading, delimiter)},
               "\xDC"
               "berschriftenzeile (" +
                   RowName(*heading) + ") wird keine Position");
  }
  for (std::size_t i = 0; i < table.Rows.size(); ++i) {
    const CalculationRow& row = table.Rows[i];
    const std::string whole = RowValue(row, delimiter);
    const RowFate fate = reading.Fates[i];
    if (fate == RowFate::Summary) {
      const auto label = std::find_if(row.Cells.begin(), row.Cells.end(),
                                      [](const std::string& c) { return IsSummaryLabel(c); });
      ignore.Add({std::string(TrimBlankOrControl(*label)), whole},
                 "Summenzeile " + Shown(*label) + " (" + RowName(row) + ") wird keine Position");
    } else if (fate == RowFate::Heading && i != reading.Heading) {
      ignore.Add({whole},
                 "wiederholte \xDC"
                 "berschrift (" +
                     RowName(row) + ") wird keine Position");
    } else if ((fate == RowFate::Outside || fate == RowFate::Footnote) && !row.IsBlank() &&
               !reading.Description(row).empty()) {
      // Titles above the heading and notes below the items would otherwise become text lines
      // or more description of the last item.
      ignore.Add({whole}, std::string(fate == RowFate::Outside ? "Titelzeile " : "Schlusszeile ") +
                              Shown(whole) + " (" + RowName(row) + ") wird keine Position");
    }
  }
}

}  // namespace

std::vector<IgnoreEntry> ProposeIgnoreEntries(const Reading& reading) {
  IgnoreList ignore(reading);
  CollectIgnoreEntries(reading, ignore);
  return ignore.Entries();
}

}  // namespace zw
