#include "app/explain_report.h"

#include <algorithm>

namespace zw {
namespace {

std::string Quoted(const std::string& text) {
  constexpr std::size_t kShown = 60;
  std::string shown = text.size() > kShown ? text.substr(0, kShown) + "..." : text;
  for (char& c : shown) {
    if (c == '\t') c = ' ';
  }
  return "\"" + shown + "\"";
}

std::string DelimiterName(char delimiter) {
  if (delimiter == '\t') return "Tabulator";
  if (delimiter == ' ') return "Leerzeichen";
  return "\"" + std::string(1, delimiter) + "\"";
}

}  // namespace

void ExplainReport::Line(const std::string& text) {
  out_ += text;
  out_ += '\n';
}

void ExplainReport::Row(int record, const std::string& text) {
  rows_.emplace_back(record, "  Zeile " + std::to_string(record) + ": " + text);
}

void ExplainReport::FlushRows() {
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& row : rows_) Line(row.second);
  rows_.clear();
}

void ExplainReport::OnTemplate(const std::string& path) {
  ++templates_;
  Line("Vorlage " + path);
}

void ExplainReport::OnColumns(char delimiter, int column_count) {
  if (column_count > 0) {
    Line("  Trennzeichen " + DelimiterName(delimiter) + ", " + std::to_string(column_count) +
         " Spalten");
  }
}

void ExplainReport::OnSkipped(TemplateSkip reason) {
  FlushRows();
  switch (reason) {
    case TemplateSkip::NoDelimiter:
      Line("  passt nicht: das Trennzeichen (Delimeter) kommt im Text nicht vor");
      break;
    case TemplateSkip::NoRequiredLine:
      Line("  passt nicht: keine Zeile des Textes enth\xE4lt MustContaintsLine");
      break;
    case TemplateSkip::NoDescription:
      Line("  passt nicht: Description1 ist leer");
      break;
    case TemplateSkip::NoRows:
      Line("  passt nicht: alle Zeilen sind leer oder werden ignoriert");
      break;
    case TemplateSkip::NoLines:
      Line("  passt nicht: keine Zeile ergab eine Position");
      break;
  }
}

void ExplainReport::OnRecordDropped(int record, const RecordCheck& check,
                                    const IgnoreEntries& entries) {
  // Empty lines need no explanation.
  if (check.Result == RecordCheck::Verdict::NoFields) return;
  if (check.Result == RecordCheck::Verdict::Empty) {
    Row(record, "verworfen, leer");
    return;
  }
  Row(record, "verworfen wegen IgnoreLines" + std::to_string(entries.KeyIndex[check.Entry]) + " " +
                  Quoted(entries.Texts[check.Entry]));
}

void ExplainReport::OnNewLine(int record, const TDataGridLine& line) {
  std::string text = "Position " + std::to_string(line.Index() + 1);
  if (line.TypeLine == "-") {
    text += " (Textzeile)";
  } else {
    text += " (Menge " + line.Stueck.str() + ", Preis " + line.Einzelbetrag.str() + ")";
  }
  Row(record, text + " " + Quoted(line.Bezeichnung1.str()));
}

void ExplainReport::OnAppended(int record, const TDataGridLine& line) {
  Row(record,
      "an die Bezeichnung von Position " + std::to_string(line.Index() + 1) + " angeh\xE4ngt");
}

void ExplainReport::OnRowDropped(int record, RowDrop reason) {
  switch (reason) {
    case RowDrop::NullQuantity:
      Row(record,
          "\xFC"
          "bersprungen, Menge und Summe sind 0 (IgnoreNullQuantity)");
      break;
    case RowDrop::EmptyDescription:
      Row(record,
          "\xFC"
          "bersprungen, die Spalte von Description1 ist leer");
      break;
  }
}

void ExplainReport::OnWinner(int line_count) {
  FlushRows();
  Line("  gew\xE4hlt: " + std::to_string(line_count) +
       (line_count == 1 ? " Position" : " Positionen"));
}

void ExplainReport::OnDescriptionCut(int line_number, std::size_t kept_length, int limit) {
  Line("  Position " + std::to_string(line_number) + ": Bezeichnung nach " +
       std::to_string(kept_length) +
       " Zeichen in den Langtext verschoben (Description1ToLongText=" + std::to_string(limit) +
       ")");
}

void ExplainReport::OnNoWinner() {
  if (templates_ == 0) {
    Line("Keine Vorlage im Ordner (beschreibung.txt und demo.txt werden nie benutzt).");
  } else {
    Line("Keine Vorlage ergab Positionen.");
  }
}

}  // namespace zw
