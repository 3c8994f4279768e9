#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/sleeper.h"
#include "mapping/template_settings.h"
#include "orderlines/uDataGridLines.h"
#include "texttable/fill_row_table.h"

namespace zw {

// The template that produced the order lines.
struct WinningTemplate {
  std::string Path;
  TemplateSettings Settings;
};

// Why a template produced no order lines.
enum class TemplateSkip {
  NoDelimiter,     // the delimiter occurs in no line of the text
  NoRequiredLine,  // no line contains "MustContaintsLine"
  NoDescription,   // "Description1" is empty
  NoRows,          // every record was dropped
  NoLines,         // every row was dropped
};

// Why a row of the table became no order line of its own.
enum class RowDrop {
  NullQuantity,      // quantity and total are 0 and "IgnoreNullQuantity" is on
  EmptyDescription,  // the "Description1" cell is empty
};

// Follows the template loop step by step; zwconvert --explain reports what it is told.
class TemplateLoopObserver {
 public:
  virtual ~TemplateLoopObserver() = default;
  virtual void OnTemplate(const std::string& /*path*/) {}
  virtual void OnColumns(char /*delimiter*/, int /*column_count*/) {}
  virtual void OnSkipped(TemplateSkip /*reason*/) {}
  virtual void OnRecordDropped(int /*record*/, const RecordCheck& /*check*/,
                               const IgnoreEntries& /*entries*/) {}
  virtual void OnNewLine(int /*record*/, const TDataGridLine& /*line*/) {}
  virtual void OnAppended(int /*record*/, const TDataGridLine& /*line*/) {}
  virtual void OnRowDropped(int /*record*/, RowDrop /*reason*/) {}
  virtual void OnWinner(int /*line_count*/) {}
  // The end of the loop without a winner.
  virtual void OnNoWinner() {}
  // After the description cut: the line (from 1) whose description was cut at the length.
  virtual void OnDescriptionCut(int /*line_number*/, std::size_t /*kept_length*/, int /*limit*/) {}
};

// A text that would give more order lines than any order holds is not converted: the loop
// stops with this error before the clipboard is touched, so the copied text stays.
constexpr int kMaxOrderLines = 200000;

class TooManyLinesError : public Error {
 public:
  TooManyLinesError();
};

struct TemplateLoopOptions {
  std::string Folder;  // the template folder, ending in the path delimiter
  Sleeper* RetrySleeper = &SystemSleeper();
  TemplateLoopObserver* Observer = nullptr;
};

// Tries the templates of the folder in order on the clipboard text and fills the order lines
// with those of the first template that yields any. Numbers are read and written with the
// separators the collection was made with. Template file errors and
// TooManyLinesError are passed on.
std::optional<WinningTemplate> RunTemplates(std::string_view text, const std::string& default_tax,
                                            TExDataGridLines& lines,
                                            const TemplateLoopOptions& options);

// SplitLongDescriptions of the winner's lines, telling the observer, when there is one,
// which lines were cut.
void SplitDescriptions(TCustomDataGridLines& lines, int limit, TemplateLoopObserver* observer);

}  // namespace zw
