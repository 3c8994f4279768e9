#include "proposal/template_proposal.h"

#include <algorithm>
#include <optional>

#include "base/ascii.h"
#include "proposal/calculation_table.h"
#include "proposal/heading_words.h"
#include "proposal/proposed_ignore_lines.h"
#include "proposal/proposed_long_text.h"
#include "proposal/row_reading.h"
#include "texttable/row_table.h"

namespace zw {
namespace {

bool OneLine(std::string_view text) { return text.find_first_of("\r\n") == std::string::npos; }

// A line break inside a cell (a quoted cell of the copy) would end a rule line early.
std::string OnOneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

class ProposalWriter {
 public:
  explicit ProposalWriter(TemplateProposal& proposal) : proposal_(proposal) {}

  void Comment(const std::string& reason) {
    proposal_.Reasons.push_back(OnOneLine(reason));
    proposal_.Text += ";" + proposal_.Reasons.back() + "\r\n";
  }
  void Key(std::string_view key, const std::string& value) {
    proposal_.Text.append(key).append("=").append(OnOneLine(value)).append("\r\n");
  }
  void Key(std::string_view key, const std::string& value, const std::string& reason) {
    Comment(reason);
    Key(key, value);
  }

 private:
  TemplateProposal& proposal_;
};

// Amounts written with the other decimal separator than the one set would come out a
// hundred or a thousand times too large.
std::optional<std::string> SeparatorWarning(const Reading& reading) {
  const char set = reading.Decimal;
  const char other = set == ',' ? '.' : ',';
  int with_set = 0;
  int with_other = 0;
  for (std::size_t i = 0; i < reading.Table.Rows.size(); ++i) {
    if (reading.Fates[i] != RowFate::Item) continue;
    for (const ColumnRole role : {ColumnRole::Price, ColumnRole::Total}) {
      const std::optional<int> column = reading.Roles.Of(role);
      if (!column) continue;
      const std::string_view cell = TrimBlankOrControl(reading.Table.Rows[i].Cell(*column));
      const std::size_t last = cell.find_last_of(".,");
      if (last == std::string_view::npos || cell.size() - last > 3 || cell.size() - last < 2) {
        continue;
      }
      if (cell[last] == set) ++with_set;
      if (cell[last] == other) ++with_other;
    }
  }
  if (with_other == 0 || with_set > 0) return std::nullopt;
  const auto name = [](char c) {
    return std::string(c == ',' ? "das Dezimalkomma" : "der Dezimalpunkt");
  };
  std::string found = name(other);
  found.replace(0, 3, "ein");
  return "Achtung: die Betr\xE4ge im Text haben " + found + ", eingestellt ist " + name(set) +
         " (Windows: Region, Zahlenformat); so umgewandelt w\xE4ren die Preise zu gross";
}

std::string DelimiterValue(char delimiter) {
  return delimiter == '\t' ? "TAB" : std::string(1, delimiter);
}

std::string DelimiterReason(char delimiter) {
  if (delimiter == '\t') return "Trennzeichen Tabulator: der Text ist aus einer Tabelle kopiert";
  return std::string("Trennzeichen \"") + delimiter +
         "\": es kommt im Text am h\xE4ufigsten vor, Tabulatoren gibt es keine";
}

void WriteProposal(const Reading& reading, const std::vector<IgnoreEntry>& ignore,
                   TemplateProposal& proposal) {
  ProposalWriter out(proposal);
  const CalculationTable& table = reading.Table;
  out.Comment(
      "Vorlage, vorgeschlagen aus einer kopierten Tabelle; Zeilen mit \";\" am Anfang "
      "sind Erkl\xE4rungen");
  if (table.Shortened) {
    out.Comment("nur die ersten " + std::to_string(kMaxProposalRows) +
                " Zeilen des Textes wurden gelesen");
  }
  if (const std::optional<std::string> warning = SeparatorWarning(reading)) out.Comment(*warning);
  out.Key("Delimeter", DelimiterValue(table.Delimiter), DelimiterReason(table.Delimiter));
  for (std::size_t i = 0; i < ignore.size(); ++i) {
    out.Key("IgnoreLines" + std::to_string(i), ignore[i].Value, ignore[i].Reason);
  }
  const CalculationRow* heading = reading.HeadingRow();
  const std::string heading_line = heading ? RowLine(*heading, table.Delimiter) : std::string();
  if (heading != nullptr && !OneLine(heading_line)) {
    // The required text is looked for within one line of the copy.
    out.Comment(
        "die \xDC"
        "berschriftenzeile geht \xFC"
        "ber mehrere Zeilen; die Vorlage passt "
        "auf jeden Text mit diesem Trennzeichen");
  } else if (heading != nullptr) {
    out.Key("MustContaintsLine", heading_line,
            "nur f\xFCr Texte mit dieser \xDC"
            "berschriftenzeile " +
                Shown(RowValue(*heading, '\t')));
  } else {
    out.Comment(
        "keine \xDC"
        "berschriftenzeile gefunden: die Vorlage passt auf jeden Text mit "
        "diesem Trennzeichen");
  }
  const std::optional<ProposedLongText> long_text = ProposeMeasureLongText(reading);
  for (int r = 0; r < kColumnRoles; ++r) {
    const auto role = static_cast<ColumnRole>(r);
    const ColumnChoice& choice = reading.Roles.Choices[static_cast<std::size_t>(r)];
    const std::string value =
        choice.Column ? std::string(1, ColumnName(*choice.Column)) : std::string();
    if (choice.Column) {
      out.Key(RoleKey(role), value, choice.Reason);
    } else {
      out.Key(RoleKey(role), value);
    }
    if (role == ColumnRole::Tax) {
      // The file keeps the shipped files' key order: the long text and its cut after the tax.
      if (long_text) {
        out.Key("LongText", long_text->Text, long_text->Reason);
      } else {
        out.Key("LongText", "");
      }
      out.Key("Description1ToLongText", "");
    }
  }
  out.Key("DirectToBrevanta", "1",
          "wie in leer.txt: die Positionen gehen direkt in den offenen Auftrag, wenn Brevanta "
          "sie annimmt, sonst in die Zwischenablage");
  const bool sections = std::count(reading.Fates.begin(), reading.Fates.end(), RowFate::Section);
  const bool zero_rows = std::count(reading.Fates.begin(), reading.Fates.end(), RowFate::Zero);
  const bool no_amounts =
      !reading.Roles.Of(ColumnRole::Quantity) && !reading.Roles.Of(ColumnRole::Total);
  if (no_amounts) {
    out.Key("IgnoreNullQuantity", "0",
            "keine Spalte f\xFC"
            "r Menge oder Total: jede Zeile mit Bezeichnung wird eine Position");
  } else if (sections && !zero_rows) {
    out.Key("IgnoreNullQuantity", "0",
            "Zeilen ohne Menge und Total bleiben: es sind Abschnitts\xFC"
            "berschriften");
  } else {
    out.Key("IgnoreNullQuantity", "1",
            sections ? "Zeilen mit Menge und Total 0 werden \xFC"
                       "bersprungen; Abschnitts\xFC"
                       "berschriften gehen dabei verloren, weil auch Zeilen mit Preis und "
                       "Menge 0 vorkommen"
                     : "Zeilen mit Menge und Total 0 werden \xFC"
                       "bersprungen");
  }
  if (sections && (!zero_rows || no_amounts)) {
    out.Key("EmptyPriceAsTextLine", "1",
            "Zeilen mit Bezeichnung ohne Betr\xE4ge zwischen den Positionen werden Textzeilen");
  } else {
    out.Key("EmptyPriceAsTextLine", "0",
            sections ? "keine Textzeilen, da Zeilen ohne Menge und Total \xFC"
                       "bersprungen werden"
                     : "keine Abschnitts\xFC"
                       "berschriften gefunden");
  }
}

}  // namespace

NoTableError::NoTableError(const std::string& reason)
    : Error("Aus dem Text l\xE4sst sich keine Vorlage machen: " + reason) {}

TemplateProposal ProposeTemplate(std::string_view text, const Separators& separators) {
  const char delimiter = ProposedDelimiter(text);
  if (delimiter == '\0') {
    throw NoTableError("keine Spalten, weder Tabulatoren noch \";\", \",\" oder \"|\"");
  }
  const CalculationTable table = ReadCalculation(text, delimiter);
  const Reading reading = ReadCalculationRows(table, separators.Decimal);
  TemplateProposal proposal;
  WriteProposal(reading, ProposeIgnoreEntries(reading), proposal);
  return proposal;
}

}  // namespace zw
