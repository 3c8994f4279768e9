#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/template_loop.h"

namespace zw {

// Answers "why did my template not apply?": every template tried, why it was skipped or won,
// and the fate of every record of the text. German, one line per event, Windows-1252.
class ExplainReport final : public TemplateLoopObserver {
 public:
  explicit ExplainReport(std::string& out) : out_(out) {}
  ~ExplainReport() override { FlushRows(); }
  ExplainReport(const ExplainReport&) = delete;
  ExplainReport& operator=(const ExplainReport&) = delete;

  void OnTemplate(const std::string& path) override;
  void OnColumns(char delimiter, int column_count) override;
  void OnSkipped(TemplateSkip reason) override;
  void OnRecordDropped(int record, const RecordCheck& check, const IgnoreEntries& entries) override;
  void OnNewLine(int record, const TDataGridLine& line) override;
  void OnAppended(int record, const TDataGridLine& line) override;
  void OnRowDropped(int record, RowDrop reason) override;
  void OnWinner(int line_count) override;

  void OnDescriptionCut(int line_number, std::size_t kept_length, int limit) override;
  void OnNoWinner() override;

 private:
  void Line(const std::string& text);
  // Row events arrive in two passes (dropped while the table is filled, then mapped); they are
  // reported together in the order of the text.
  void Row(int record, const std::string& text);
  void FlushRows();

  std::string& out_;
  int templates_ = 0;
  std::vector<std::pair<int, std::string>> rows_;
};

}  // namespace zw
