#include "app/template_loop.h"

#include <array>
#include <optional>
#include <vector>

#include "base/number_text.h"
#include "mapping/row_mapping.h"
#include "templates/template_files.h"
#include "texttable/column_count.h"
#include "texttable/fill_row_table.h"
#include "texttable/normalize.h"

namespace zw {
namespace {

// The table counts room ahead for the rows of a text the loop does not refuse.
static_assert(kRowsCountedAhead == static_cast<std::size_t>(kMaxOrderLines) + 1);

class NoObserver final : public TemplateLoopObserver {};

// What the row loop does with a row.
enum class RowFate { Append, NullQuantity, EmptyDescription, NewLine };

// The row loop's decision for the current row; the amounts are those of a row that is not
// appended.
RowFate FateOf(const TemplateSettings& settings, const TemplateColumns& columns,
               const RowTable& table, bool has_current, char decimal_separator, Amounts& amounts) {
  if (has_current && columns.Description && IsContinuationRowAt(*columns.Description, table)) {
    return RowFate::Append;
  }
  amounts = ComputeAmounts(columns, table, decimal_separator);
  if (settings.IgnoreNullQuantity && amounts.Quantity == 0 && amounts.Total == 0) {
    return RowFate::NullQuantity;
  }
  if (columns.Description && table.Cell(*columns.Description).empty()) {
    return RowFate::EmptyDescription;
  }
  return RowFate::NewLine;
}

// Goes through the rows as the row loop does, without making lines, and fails as the loop
// would: with TooManyLinesError at the line beyond the limit, or earlier with the long texts'
// error. Every line comes from a row of its own, so only a table of more rows than the limit
// is counted; it is counted while it fills, so that a text of too many lines is refused once
// the row of the line beyond the limit is read, not after the whole text.
class LineLimitCheck {
 public:
  LineLimitCheck(const TemplateSettings& settings, char decimal_separator)
      : settings_(settings), decimal_separator_(decimal_separator) {}

  // Counts the rows added since the last call, once the table has more than the limit.
  void CountNewRows(RowTable& table) {
    if (table.RowCount() <= static_cast<std::size_t>(kMaxOrderLines)) return;
    // Made only now: nearly every table stays below the limit and needs none of it.
    if (!walk_) walk_.emplace(settings_, table);
    Amounts amounts;
    for (table.GoTo(counted_rows_); !table.Eof(); table.Next()) {
      switch (FateOf(settings_, walk_->Columns, table, has_current_, decimal_separator_, amounts)) {
        case RowFate::Append:
          break;
        case RowFate::NullQuantity:
        case RowFate::EmptyDescription:
          has_current_ = false;
          break;
        case RowFate::NewLine:
          if (lines_ >= kMaxOrderLines) throw TooManyLinesError();
          ++lines_;
          has_current_ = true;
          if (!walk_->Columns.LongText)
            long_text_left_ -= walk_->LongText.ExpandInPlace(table, long_text_left_).size();
          break;
      }
    }
    counted_rows_ = table.RowCount();
  }

 private:
  // The template's columns and long text as the row loop finds them in this table.
  struct Walk {
    Walk(const TemplateSettings& settings, const RowTable& table)
        : Columns(TemplateColumns::Of(settings.Columns, table)),
          LongText(settings.Columns.LongText, table) {}
    TemplateColumns Columns;
    LongTextPattern LongText;
  };

  const TemplateSettings& settings_;
  const char decimal_separator_;
  std::optional<Walk> walk_;
  std::size_t counted_rows_ = 0;
  std::size_t long_text_left_ = kMaxLongTextBytes;
  bool has_current_ = false;
  int lines_ = 0;
};

// Walks the rows of one template's table and appends its order lines.
void MapRows(const TemplateSettings& settings, RowTable& table, const std::string& default_tax,
             TExDataGridLines& lines, TemplateLoopObserver& observer) {
  const TemplateColumns columns = TemplateColumns::Of(settings.Columns, table);
  const LongTextPattern long_text(settings.Columns.LongText, table);
  std::size_t long_text_left = kMaxLongTextBytes;
  const char decimal_separator = lines.NumberSeparators().Decimal;

  TDataGridLine* current = nullptr;
  Amounts amounts;
  for (table.First(); !table.Eof(); table.Next()) {
    const int record = table.SourceRecord();
    const RowFate fate =
        FateOf(settings, columns, table, current != nullptr, decimal_separator, amounts);
    if (fate == RowFate::Append) {
      // Only a row with a description column is appended.
      current->Bezeichnung1.append("  ").append(table.Cell(*columns.Description));
      observer.OnAppended(record, *current);
      continue;
    }
    if (fate == RowFate::NullQuantity) {
      current = nullptr;
      observer.OnRowDropped(record, RowDrop::NullQuantity);
      continue;
    }
    if (fate == RowFate::EmptyDescription) {
      current = nullptr;
      observer.OnRowDropped(record, RowDrop::EmptyDescription);
      continue;
    }

    if (lines.Count() >= kMaxOrderLines) throw TooManyLinesError();
    TDataGridLine& line = lines.Add();
    current = &line;
    // The texts go into the collection's store: one block for many lines' texts.
    const auto set = [&lines](LineText& property, std::string_view text) {
      lines.SetText(property, text);
    };
    if (columns.Pos) set(line.Pos, table.Cell(*columns.Pos));
    NumberRoom number;
    set(line.Stueck, WriteNumber(amounts.Quantity, decimal_separator, number));
    if (columns.Unit) set(line.Einheit, table.Cell(*columns.Unit));
    if (columns.Description) set(line.Bezeichnung1, table.Cell(*columns.Description));
    if (columns.PartNumber) set(line.Artikelnummer, table.Cell(*columns.PartNumber));
    set(line.Einzelbetrag, WriteNumber(amounts.Price, decimal_separator, number));
    set(line.Steuer, columns.Tax ? table.Cell(*columns.Tax) : std::string_view(default_tax));
    if (columns.LongText) {
      set(line.Second, table.Cell(*columns.LongText));
    } else {
      set(line.Second, long_text.ExpandInPlace(table, long_text_left));
      long_text_left -= line.Second.size();
    }
    line.Isnetto = true;
    line.DM = false;
    if (amounts.Price == 0 && settings.EmptyPriceAsTextLine) {
      line.TypeLine = "-";
      line.Steuer.clear();
      line.Stueck.clear();
      line.Einzelbetrag.clear();
    }
    observer.OnNewLine(record, line);
  }
}

}  // namespace

TooManyLinesError::TooManyLinesError()
    : Error("Der Text ergibt mehr als " + std::to_string(kMaxOrderLines) +
            " Positionen und wird nicht umgewandelt") {}

std::optional<WinningTemplate> RunTemplates(std::string_view text, const std::string& default_tax,
                                            TExDataGridLines& lines,
                                            const TemplateLoopOptions& options) {
  NoObserver silent;
  TemplateLoopObserver& observer = options.Observer ? *options.Observer : silent;
  std::vector<std::string> templates;
  ListTemplateFiles(templates, options.Folder);

  TemplateRules rules;
  RowTable table;
  std::array<int, 256> column_counts;
  column_counts.fill(-1);
  for (const std::string& path : templates) {
    observer.OnTemplate(path);
    LoadTextWithRetry(rules, path, *options.RetrySleeper);
    const TemplateSettings settings = TemplateSettings::Of(rules);
    const char delimiter = settings.Delimiter;

    // Without "Description1" the template gives nothing whatever the text holds; only a
    // report of every step needs the columns of such a template.
    if (settings.Columns.Description.empty() && options.Observer == nullptr) continue;
    // Templates mostly share their delimiter: the text is counted once for each.
    int& counted = column_counts[static_cast<unsigned char>(delimiter)];
    if (counted < 0) counted = CountColumns(text, delimiter);
    const int column_count = counted;
    observer.OnColumns(delimiter, column_count);
    if (column_count == 0) {
      observer.OnSkipped(TemplateSkip::NoDelimiter);
      continue;
    }
    if (!settings.RequiredLine.empty() && !ContainsRequiredLine(text, settings.RequiredLine)) {
      observer.OnSkipped(TemplateSkip::NoRequiredLine);
      continue;
    }
    if (settings.Columns.Description.empty()) {
      observer.OnSkipped(TemplateSkip::NoDescription);
      continue;
    }
    LineLimitCheck line_limit(settings, lines.NumberSeparators().Decimal);
    FillRowTable(
        table, text, delimiter, column_count, settings.Ignore.Texts,
        [&](int record, const RecordCheck& check) {
          observer.OnRecordDropped(record, check, settings.Ignore);
        },
        [&](RowTable& filling) { line_limit.CountNewRows(filling); });
    if (table.IsEmpty()) {
      observer.OnSkipped(TemplateSkip::NoRows);
      continue;
    }
    MapRows(settings, table, default_tax, lines, observer);
    if (lines.Count() == 0) {
      observer.OnSkipped(TemplateSkip::NoLines);
      continue;
    }
    observer.OnWinner(lines.Count());
    return WinningTemplate{path, settings};
  }
  observer.OnNoWinner();
  return std::nullopt;
}

void SplitDescriptions(TCustomDataGridLines& lines, int limit, TemplateLoopObserver* observer) {
  if (observer == nullptr) {
    SplitLongDescriptions(lines, limit);
    return;
  }
  std::vector<std::size_t> lengths;
  for (int i = 0; i < lines.Count(); ++i) lengths.push_back(lines.Items(i).Bezeichnung1.size());
  SplitLongDescriptions(lines, limit);
  for (int i = 0; i < lines.Count(); ++i) {
    const std::size_t kept = lines.Items(i).Bezeichnung1.size();
    if (kept != lengths[static_cast<std::size_t>(i)])
      observer->OnDescriptionCut(i + 1, kept, limit);
  }
}

}  // namespace zw
