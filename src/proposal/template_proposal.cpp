#include "proposal/template_proposal.h"

#include <algorithm>
#include <optional>

#include "base/number_text.h"
#include "proposal/calculation_table.h"
#include "proposal/cell_kinds.h"
#include "proposal/column_roles.h"
#include "proposal/heading_words.h"
#include "texttable/normalize.h"
#include "texttable/row_table.h"

namespace zw {
namespace {

constexpr char kNoTable[] = "Aus dem Text l\xE4sst sich keine Vorlage machen: ";

struct RowCounts {
  int Filled = 0;
  int Numbers = 0;
  int Words = 0;
};

RowCounts CountsOf(const CalculationRow& row) {
  RowCounts counts;
  for (const std::string& cell : row.Cells) {
    const CellKind kind = KindOfCell(cell);
    if (kind == CellKind::Empty) continue;
    ++counts.Filled;
    if (kind == CellKind::Number) ++counts.Numbers;
    if (kind == CellKind::Words) ++counts.Words;
  }
  return counts;
}

// A row that lists something with an amount: at least two cells, one of them a number.
bool ShowsAmounts(const CalculationRow& row) {
  const RowCounts counts = CountsOf(row);
  return counts.Filled >= 2 && counts.Numbers >= 1;
}

// A row of mostly words: at least two cells, more than half of them words.
bool ReadsAsHeading(const CalculationRow& row) {
  const RowCounts counts = CountsOf(row);
  return counts.Words >= 2 && counts.Words * 2 > counts.Filled && counts.Numbers == 0;
}

bool HasSummaryLabel(const CalculationRow& row) {
  return std::any_of(row.Cells.begin(), row.Cells.end(),
                     [](const std::string& cell) { return IsSummaryLabel(cell); });
}

// A later row that repeats heading words, such as the heading of a second block.
bool RepeatsHeading(const CalculationRow& row) {
  if (!ReadsAsHeading(row)) return false;
  const auto known = std::count_if(row.Cells.begin(), row.Cells.end(), [](const std::string& c) {
    return RoleOfHeading(c).has_value();
  });
  return known >= 2;
}

// The heading: the row above the first row with amounts that reads as a heading, blank rows
// between them skipped; title rows above it stay outside the table.
std::optional<std::size_t> FindHeading(const CalculationTable& table) {
  for (std::size_t i = 0; i < table.Rows.size(); ++i) {
    if (!ShowsAmounts(table.Rows[i])) continue;
    std::size_t above = i;
    while (above > 0 && table.Rows[above - 1].IsBlank()) --above;
    if (above > 0 && ReadsAsHeading(table.Rows[above - 1])) return above - 1;
  }
  return std::nullopt;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

bool OneLine(std::string_view text) { return text.find_first_of("\r\n") == std::string::npos; }

// A row as a rule value: with tabs, as the spreadsheet copies it; with another delimiter
// the cells follow each other, as rows are compared without their delimiters.
std::string RowValue(const CalculationRow& row, char delimiter) {
  std::size_t last = row.Cells.size();
  while (last > 0 && Trimmed(row.Cells[last - 1]).empty()) --last;
  std::string value;
  for (std::size_t i = 0; i < last; ++i) {
    if (i > 0 && delimiter == '\t') value += '\t';
    value += row.Cells[i];
  }
  return value;
}

// The row as the text writes it, for "MustContaintsLine", which is looked for in the lines.
std::string RowLine(const CalculationRow& row, char delimiter) {
  std::size_t last = row.Cells.size();
  while (last > 0 && Trimmed(row.Cells[last - 1]).empty()) --last;
  std::string line;
  for (std::size_t i = 0; i < last; ++i) {
    if (i > 0) line += delimiter;
    line += row.Cells[i];
  }
  return line;
}

std::string Shown(std::string_view text) {
  std::string shown(Trimmed(text.substr(0, 60)));
  std::replace(shown.begin(), shown.end(), '\t', ' ');
  return "\"" + shown + (text.size() > 60 ? "...\"" : "\"");
}

enum class RowFate {
  Outside,  // above the heading: titles, the customer, the date
  Blank,
  Heading,       // the heading row, or a later one that repeats its words
  Summary,       // a sum, a subtotal, the tax, a discount
  Item,          // an order line
  Continuation,  // more description of the item above
  Section,       // a description without amounts between the items: a text line
  Zero,          // an item not ordered: quantity and total 0, other amounts shown
  Footnote,      // a description without amounts after the last item
  Other,
};

struct Reading {
  const CalculationTable& Table;
  std::optional<std::size_t> Heading;
  std::vector<RowFate> Fates;
  ColumnRoles Roles;
  char Decimal;

  const CalculationRow* HeadingRow() const { return Heading ? &Table.Rows[*Heading] : nullptr; }
  double Amount(const CalculationRow& row, ColumnRole role) const {
    const std::optional<int> column = Roles.Of(role);
    return column ? CellNumber(row.Cell(*column), Decimal) : 0;
  }
  std::string_view Description(const CalculationRow& row) const {
    return Trimmed(row.Cell(*Roles.Of(ColumnRole::Description)));
  }
};

bool ShowsAmountCell(const Reading& reading, const CalculationRow& row) {
  for (const ColumnRole role : {ColumnRole::Quantity, ColumnRole::Price, ColumnRole::Total}) {
    const std::optional<int> column = reading.Roles.Of(role);
    if (column && KindOfCell(row.Cell(*column)) == CellKind::Number) return true;
  }
  return false;
}

// What a person reads in each row below the heading, with the columns known.
void ReadRows(Reading& reading) {
  const bool no_amounts =
      !reading.Roles.Of(ColumnRole::Quantity) && !reading.Roles.Of(ColumnRole::Total);
  bool current = false;  // a line exists that a description-only row continues
  for (std::size_t i = 0; i < reading.Table.Rows.size(); ++i) {
    RowFate& fate = reading.Fates[i];
    const CalculationRow& row = reading.Table.Rows[i];
    const double quantity = reading.Amount(row, ColumnRole::Quantity);
    if (fate == RowFate::Summary && quantity != 0) fate = RowFate::Other;  // "Total-Set", 2 Stk
    if (fate != RowFate::Other) continue;
    const double total = reading.Amount(row, ColumnRole::Total);
    const double price = reading.Amount(row, ColumnRole::Price);
    if (reading.Description(row).empty()) {
      current = false;
    } else if (quantity != 0 || total != 0 || (no_amounts && price != 0)) {
      fate = RowFate::Item;
      current = true;
    } else if (current && row.FilledCells() == 1) {
      fate = RowFate::Continuation;
    } else if (!ShowsAmountCell(reading, row)) {
      fate = RowFate::Section;
      current = true;
    } else {
      fate = RowFate::Zero;
      current = false;
    }
  }
  // Below the last item, descriptions without amounts are notes, and so is more description
  // once a sum stands between it and the item.
  const auto last_item = std::find(reading.Fates.rbegin(), reading.Fates.rend(), RowFate::Item);
  bool summed = false;
  for (auto fate = reading.Fates.rbegin(); fate != last_item; ++fate) {
    if (*fate == RowFate::Section) *fate = RowFate::Footnote;
  }
  for (auto fate = last_item.base(); fate != reading.Fates.end(); ++fate) {
    if (*fate == RowFate::Summary) summed = true;
    if (*fate == RowFate::Continuation && summed) *fate = RowFate::Footnote;
  }
}

class ProposalWriter {
 public:
  explicit ProposalWriter(TemplateProposal& proposal) : proposal_(proposal) {}

  void Comment(const std::string& reason) {
    proposal_.Reasons.push_back(reason);
    proposal_.Text += ";" + reason + "\r\n";
  }
  void Key(std::string_view key, const std::string& value) {
    proposal_.Text.append(key).append("=").append(value).append("\r\n");
  }
  void Key(std::string_view key, const std::string& value, const std::string& reason) {
    Comment(reason);
    Key(key, value);
  }

 private:
  TemplateProposal& proposal_;
};

struct IgnoreEntry {
  std::string Value;
  std::string Reason;
};

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
      if (normalized.empty() || !OneLine(value)) continue;
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

std::string RowName(const CalculationRow& row) { return "Zeile " + std::to_string(row.Record); }

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
      ignore.Add({std::string(Trimmed(*label)), whole},
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

// A long text from two measures ("Breite x Höhe" over two columns, or "Breite" and "Höhe"),
// with the area beside them when there is one; none unless the items show the measures.
std::optional<std::pair<std::string, std::string>> MeasureLongText(const Reading& reading) {
  const CalculationRow* heading = reading.HeadingRow();
  if (heading == nullptr) return std::nullopt;
  const int columns = reading.Table.ColumnCount;
  auto free = [&](int column) {
    for (const ColumnChoice& choice : reading.Roles.Choices) {
      if (choice.Column == column) return false;
    }
    return column < columns;
  };
  auto measured = [&](int column) {
    int numbers = 0;
    for (std::size_t i = 0; i < reading.Table.Rows.size(); ++i) {
      if (reading.Fates[i] != RowFate::Item) continue;
      if (KindOfCell(reading.Table.Rows[i].Cell(column)) == CellKind::Number) ++numbers;
    }
    return numbers > 0;
  };
  for (int d = 0; d + 1 < columns; ++d) {
    const std::string_view first = Trimmed(heading->Cell(d));
    const std::string_view second = Trimmed(heading->Cell(d + 1));
    std::string title;
    if (IsMeasurePair(first) && second.empty()) {
      title = first;
    } else if (IsMeasure(first) && IsMeasure(second)) {
      title = std::string(first) + " x " + std::string(second);
    } else {
      continue;
    }
    if (!free(d) || !free(d + 1) || !measured(d) || !measured(d + 1)) continue;
    const auto name = [](int column) { return "[" + std::string(1, ColumnName(column)) + "]"; };
    std::string text = title + ": " + name(d) + " x " + name(d + 1);
    std::string reason = "Langtext aus den Massen in " + ColumnLabel(d, heading) + " und Spalte " +
                         std::string(1, ColumnName(d + 1));
    if (free(d + 2) && IsArea(heading->Cell(d + 2)) && measured(d + 2)) {
      text += " = " + name(d + 2) + " " + std::string(Trimmed(heading->Cell(d + 2)));
      reason +=
          ", mit der Fl\xE4"
          "che aus " +
          ColumnLabel(d + 2, heading);
    }
    return std::make_pair(text, reason);
  }
  return std::nullopt;
}

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
      const std::string_view cell = Trimmed(reading.Table.Rows[i].Cell(*column));
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

void WriteProposal(const Reading& reading, const IgnoreList& ignore, TemplateProposal& proposal) {
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
  for (std::size_t i = 0; i < ignore.Entries().size(); ++i) {
    out.Key("IgnoreLines" + std::to_string(i), ignore.Entries()[i].Value,
            ignore.Entries()[i].Reason);
  }
  if (const CalculationRow* heading = reading.HeadingRow()) {
    out.Key("MustContaintsLine", RowLine(*heading, table.Delimiter),
            "nur f\xFCr Texte mit dieser \xDC"
            "berschriftenzeile " +
                Shown(RowValue(*heading, '\t')));
  } else {
    out.Comment(
        "keine \xDC"
        "berschriftenzeile gefunden: die Vorlage passt auf jeden Text mit "
        "diesem Trennzeichen");
  }
  const std::optional<std::pair<std::string, std::string>> long_text = MeasureLongText(reading);
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
        out.Key("LongText", long_text->first, long_text->second);
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
            "keine Abschnitts\xFC"
            "berschriften gefunden");
  }
}

}  // namespace

TemplateProposal ProposeTemplate(std::string_view text, const Separators& separators) {
  const char delimiter = ProposedDelimiter(text);
  if (delimiter == '\0') {
    throw NoTableError(std::string(kNoTable) +
                       "keine Spalten, weder Tabulatoren noch \";\", \",\" oder \"|\"");
  }
  const CalculationTable table = ReadCalculation(text, delimiter);
  Reading reading{table, FindHeading(table), {}, {}, separators.Decimal};
  reading.Fates.assign(table.Rows.size(), RowFate::Other);
  std::vector<const CalculationRow*> items;
  const std::size_t first = reading.Heading ? *reading.Heading + 1 : 0;
  for (std::size_t i = 0; i < table.Rows.size(); ++i) {
    const CalculationRow& row = table.Rows[i];
    RowFate& fate = reading.Fates[i];
    if (reading.Heading && i == *reading.Heading) {
      fate = RowFate::Heading;
    } else if (i < first) {
      fate = RowFate::Outside;
    } else if (row.IsBlank()) {
      fate = RowFate::Blank;
    } else if (RepeatsHeading(row)) {
      fate = RowFate::Heading;
    } else if (HasSummaryLabel(row)) {
      fate = RowFate::Summary;  // unless it turns out to give a quantity
    } else if (ShowsAmounts(row)) {
      items.push_back(&row);
    }
  }
  // Items whose description holds a word of sums ("Total-Set") are told apart once the
  // quantity's column is known; a table of only such rows is read from them.
  if (items.empty()) {
    for (std::size_t i = 0; i < table.Rows.size(); ++i) {
      if (reading.Fates[i] == RowFate::Summary && ShowsAmounts(table.Rows[i])) {
        items.push_back(&table.Rows[i]);
      }
    }
  }
  if (items.empty()) {
    throw NoTableError(std::string(kNoTable) + "keine Zeile mit Betr\xE4gen gefunden");
  }
  reading.Roles = AssignColumnRoles(table, reading.HeadingRow(), items, separators.Decimal);
  if (!reading.Roles.Of(ColumnRole::Description)) {
    throw NoTableError(std::string(kNoTable) + "keine Spalte mit Bezeichnungen gefunden");
  }
  ReadRows(reading);

  TemplateProposal proposal;
  IgnoreList ignore(reading);
  CollectIgnoreEntries(reading, ignore);
  WriteProposal(reading, ignore, proposal);
  return proposal;
}

}  // namespace zw
