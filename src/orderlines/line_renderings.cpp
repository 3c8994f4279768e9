#include "orderlines/line_renderings.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/byte_buffer.h"
#include "base/byte_words.h"
#include "base/text_lines.h"
#include "base/text_sink.h"
#include "base/win1252.h"
#include "orderlines/amount_format.h"
#include "orderlines/line_sample.h"

namespace zw {
namespace {

// What ToHtmlText writes for a byte: up to seven bytes, padded so that eight can always be
// copied. A byte that is kept stands for itself; LF is dropped.
struct HtmlEscape {
  char Bytes[8] = {};
  std::uint8_t Length = 0;
};

const std::array<HtmlEscape, 256>& HtmlEscapes() {
  static const std::array<HtmlEscape, 256> escapes = [] {
    std::array<HtmlEscape, 256> table;
    const auto set = [&table](int byte, std::string_view text) {
      HtmlEscape& escape = table[static_cast<std::size_t>(byte)];
      std::copy(text.begin(), text.end(), escape.Bytes);
      escape.Length = static_cast<std::uint8_t>(text.size());
    };
    for (int b = 0; b < 256; ++b) set(b, std::string(1, static_cast<char>(b)));
    for (int b = 0xA1; b <= 0xFF; ++b) set(b, "&#" + std::to_string(b) + ";");
    set(0xC4, "&Auml;");
    set(0xD6, "&Ouml;");
    set(0xDC, "&Uuml;");
    set(0xDF, "&szlig;");
    set(0xE4, "&auml;");
    set(0xF6, "&ouml;");
    set(0xFC, "&uuml;");
    set(' ', "&nbsp;");
    set(0x95, "&#8226;");
    set('\r', "<br>");
    set('\n', "");
    return table;
  }();
  return escapes;
}

// The top bit of every byte of the word that may have an escape: blank, CR, LF and the bytes
// from 0x80 on (some of those have none, but they are rare enough to take the table's path).
std::uint64_t MaybeEscaped(std::uint64_t word) {
  return (word & 0x8080808080808080ULL) | BytesEqual(word, ' ') | BytesEqual(word, '\r') |
         BytesEqual(word, '\n');
}

// Writes ToHtmlText of the text. Eight bytes are looked at together: the plain bytes between
// those that may have an escape are copied as they stand, each of those is replaced by its
// escape, copied whole from the table, and the write position moves on by what was written.
void PutHtmlText(TextSink& out, std::string_view text) {
  const auto& escapes = HtmlEscapes();
  if (out.CountsOnly()) {
    // A byte counts one unless it may have an escape; then it counts its escape's length.
    std::size_t length = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
      length += 8;
      for (std::uint64_t marks = MaybeEscaped(WordAt(text, i)); marks != 0; marks &= marks - 1) {
        const char c = text[i + static_cast<std::size_t>(std::countr_zero(marks)) / 8];
        length = length + escapes[static_cast<unsigned char>(c)].Length - 1;
      }
    }
    for (; i < text.size(); ++i) length += escapes[static_cast<unsigned char>(text[i])].Length;
    out.Skip(length);
    return;
  }
  constexpr std::size_t kPiece = 128;  // input bytes per room: at most 7 output bytes each
  while (!text.empty()) {
    const std::string_view piece = text.substr(0, kPiece);
    char* written = out.Room(piece.size() * 7 + sizeof(HtmlEscape::Bytes));
    const auto put_escape = [&](char c) {
      const HtmlEscape& escape = escapes[static_cast<unsigned char>(c)];
      std::memcpy(written, escape.Bytes, sizeof escape.Bytes);
      written += escape.Length;
    };
    std::size_t i = 0;
    for (; i + 8 <= piece.size(); i += 8) {
      const std::uint64_t word = WordAt(piece, i);
      // The word's bytes from `from` on are written in any case, eight bytes; only the plain
      // ones before the next escape count.
      std::size_t from = 0;
      for (std::uint64_t marks = MaybeEscaped(word); marks != 0; marks &= marks - 1) {
        const auto at = static_cast<std::size_t>(std::countr_zero(marks)) / 8;
        StoreWordAt(written, word >> (8 * from));
        written += at - from;
        put_escape(piece[i + at]);
        from = at + 1;
      }
      if (from < 8) {
        StoreWordAt(written, word >> (8 * from));
        written += 8 - from;
      }
    }
    for (; i < piece.size(); ++i) put_escape(piece[i]);
    out.Advance(written);
    text.remove_prefix(piece.size());
  }
}

// ToHtmlText drops only LF, so only a text of LFs alone gives nothing.
bool HtmlTextIsEmpty(std::string_view text) {
  return text.find_first_not_of('\n') == std::string_view::npos;
}

// The value of the name "EAN" among the name=value lines of the user data, first match.
std::string_view EanOf(std::string_view user) {
  std::string_view value;
  bool found = false;
  ForEachLine(user, [&](std::string_view line) {
    if (found) return;
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos && SameTextAscii(line.substr(0, equals), "EAN")) {
      value = line.substr(equals + 1);
      found = true;
    }
  });
  return value;
}

void PutQuoted(TextSink& out, std::string_view value) {
  out.Put('"');
  for (std::size_t quote = value.find('"'); quote != std::string_view::npos;
       quote = value.find('"')) {
    // Up to and including the quote, then the quote once more: it is doubled.
    out.Put(value.substr(0, quote + 1));
    out.Put('"');
    value.remove_prefix(quote + 1);
  }
  out.Put(value);
  out.Put('"');
}

// A quoted amount; amounts hold no quotes.
void PutQuotedAmount(TextSink& out, std::string_view amount) {
  out.Put('"');
  out.Put(amount);
  out.Put('"');
}

// The amounts of one line as a rendering shows them. Each is read from its text only when the
// rendering asks for it, and once, also when the rendering shows it twice.
class ShownAmounts {
 public:
  explicit ShownAmounts(const Separators& separators) : separators_(separators) {}

  void Reset(const TDataGridLine& line) {
    line_ = &line;
    made_ = 0;
  }
  // FormatAmount3 of the quantity, the price, the discount and the total.
  std::string_view Quantity3() { return Amount3(kQuantity3, line_->Stueck); }
  std::string_view Price3() { return Amount3(kPrice3, line_->Einzelbetrag); }
  std::string_view Discount3() { return Amount3(kDiscount3, line_->Rabatt); }
  std::string_view Total3() { return Amount3(kTotal3, line_->SummeBetrag); }
  // The key text's price and total: as stored on a text line, else in the price pattern.
  std::string_view KeyPrice() { return KeyAmount(kKeyPrice, line_->Einzelbetrag); }
  std::string_view KeyTotal() { return KeyAmount(kKeyTotal, line_->SummeBetrag); }

 private:
  enum Slot { kQuantity3, kPrice3, kDiscount3, kTotal3, kKeyPrice, kKeyTotal, kSlots };

  std::string_view Amount3(Slot slot, std::string_view text) {
    std::string& shown = texts_[slot];
    if (Make(slot)) {
      shown.clear();
      AppendAmount3(shown, text, separators_.Decimal, separators_.Thousand);
    }
    return shown;
  }
  std::string_view KeyAmount(Slot slot, std::string_view text) {
    if (IsTextLine(*line_)) return text;
    std::string& shown = texts_[slot];
    if (Make(slot)) {
      shown.clear();
      AppendPrice(shown, text, separators_.Decimal);
    }
    return shown;
  }
  // True the first time a slot is asked for with the current line.
  bool Make(Slot slot) {
    const unsigned bit = 1u << slot;
    const bool first = (made_ & bit) == 0;
    made_ |= bit;
    return first;
  }

  const Separators& separators_;
  const TDataGridLine* line_ = nullptr;
  unsigned made_ = 0;
  std::string texts_[kSlots];
};

// The 15 key lines of one line.
void PutKeyBlock(TextSink& out, const TDataGridLine& line, ShownAmounts& amounts) {
  // The three description lines have an empty key in the application's own text format.
  out.Put("Position=");
  out.Put(line.Pos);
  out.Put("\r\nMenge=");
  out.Put(line.Stueck);
  out.Put("\r\nEinheit=");
  out.Put(line.Einheit);
  out.Put("\r\n=");
  out.Put(line.Bezeichnung1);
  out.Put("\r\n=");
  out.Put(line.Bezeichnung2);
  out.Put("\r\n=");
  out.Put(line.BestellNummer);
  out.Put("\r\nSeriennummer=");
  out.Put(line.Seriennummer);
  out.Put("\r\nArtikelnummer=");
  out.Put(line.Artikelnummer);
  out.Put("\r\nEinzelbetrag=");
  out.Put(amounts.KeyPrice());
  out.Put("\r\nSteuer=");
  out.Put(line.Steuer);
  out.Put("\r\nRabatt=");
  out.Put(line.Rabatt);
  out.Put("\r\nSummebetrag=");
  out.Put(amounts.KeyTotal());
  out.Put("\r\nBeschreibung=");
  out.Put(line.Second);
  out.Put("\r\nEAN=");
  out.Put(EanOf(line.User));
  out.Put("\r\n--------------------\r\n");
}

constexpr std::string_view kHtmlTableStart =
    "<div><font face=\"verdana,Tahoma,arial,helvetica\"><table width=\"100%\" border=1 "
    "cellpadding=1 bordercolor=\"#000000\" cellspacing=-1 style=\"border-width: 0px; "
    "border-collapse: collapse;\">"
    "<tr>"
    "<th align=left bgcolor=\"#e6f9ff\">Position</th>"
    "<th align=left bgcolor=\"#e6f9ff\">Menge</th>"
    "<th align=left bgcolor=\"#e6f9ff\">Text</th>"
    "<th align=left bgcolor=\"#e6f9ff\">Nummer</th>"
    "<th align=right bgcolor=\"#e6f9ff\">Preis</th>"
    "<th align=left bgcolor=\"#e6f9ff\">Rabatt</th>"
    "<th  align=right bgcolor=\"#e6f9ff\">Summe</th>"
    "</tr>";
constexpr std::string_view kHtmlTableEnd = "</Table></div>";

// The data row of one line, unless it is empty for the table, and its long-text row.
void PutHtmlRows(TextSink& out, const TDataGridLine& line, ShownAmounts& amounts) {
  // The cell boundaries of a data row, each closing one cell and opening the next; note the
  // two blanks in the opening of the price cell.
  static constexpr std::string_view kRowStart = "<tr><td align=left>";
  static constexpr std::string_view kNextLeft = "</td><td align=left>";
  static constexpr std::string_view kNextPrice = "</td><td  align=right>";
  static constexpr std::string_view kNextRight = "</td><td align=right>";
  static constexpr std::string_view kRowEnd = "</td></tr>";
  static constexpr std::string_view kLongTextStart =
      "<tr valign=top>\r\n<td colspan=\"7\" valign=middle style=\"border-color: #000000; "
      "border-style: solid;\"><br>\r\n";
  static constexpr std::string_view kLongTextEnd = "</td></tr>";

  // Part number and discount do not make a row worth showing.
  const bool shown = !HtmlTextIsEmpty(line.Pos) || !amounts.Quantity3().empty() ||
                     !HtmlTextIsEmpty(line.Bezeichnung1) || !amounts.Price3().empty() ||
                     !amounts.Total3().empty();
  if (shown) {
    out.Put(kRowStart);
    PutHtmlText(out, line.Pos);
    out.Put(kNextLeft);
    out.Put(amounts.Quantity3());
    out.Put(kNextLeft);
    PutHtmlText(out, line.Bezeichnung1);
    out.Put(kNextLeft);
    PutHtmlText(out, line.Artikelnummer);
    out.Put(kNextPrice);
    out.Put(amounts.Price3());
    out.Put(kNextLeft);
    out.Put(amounts.Discount3());
    out.Put(kNextRight);
    out.Put(amounts.Total3());
    out.Put(kRowEnd);
  }
  if (!line.Second.empty()) {
    out.Put(kLongTextStart);
    PutHtmlText(out, line.Second);
    out.Put(kLongTextEnd);
  }
}

void PutCsvHeader(TextSink& out, char separator) {
  static constexpr std::string_view kNames[] = {"Pos",   "Menge",  "Text", "Nummer",
                                                "Preis", "Rabatt", "Summe"};
  for (const std::string_view name : kNames) {
    if (name != kNames[0]) out.Put(separator);
    PutQuoted(out, name);
  }
}

// CR LF and the record of one line.
void PutCsvRecord(TextSink& out, const TDataGridLine& line, ShownAmounts& amounts, char separator) {
  out.Put("\r\n");
  PutQuoted(out, line.Pos);
  out.Put(separator);
  PutQuotedAmount(out, amounts.Quantity3());
  out.Put(separator);
  PutQuoted(out, line.Bezeichnung1);
  out.Put(separator);
  PutQuoted(out, line.Artikelnummer);
  out.Put(separator);
  PutQuotedAmount(out, amounts.Price3());
  out.Put(separator);
  PutQuotedAmount(out, amounts.Discount3());
  out.Put(separator);
  PutQuotedAmount(out, amounts.Total3());
}

}  // namespace

std::string TISO8859Adapter::ToHtmlText(std::string_view text) {
  return WrittenText(text.size() + 16, [&](TextSink& sink) { PutHtmlText(sink, text); });
}

std::size_t RenderingSizeHint(const TCustomDataGridLines& lines, Rendering rendering) {
  const auto shown = [](const TDataGridLine& line) {
    return line.Pos.size() + line.Bezeichnung1.size() + line.Artikelnummer.size();
  };
  switch (rendering) {
    case Rendering::Text:
      return 64 + EstimatedLineSum(lines, [&](const TDataGridLine& line) {
               return 200 + shown(line) + line.Stueck.size() + line.Einheit.size() +
                      line.Bezeichnung2.size() + line.BestellNummer.size() +
                      line.Seriennummer.size() + line.Einzelbetrag.size() + line.Steuer.size() +
                      line.Rabatt.size() + line.SummeBetrag.size() + line.Second.size() +
                      line.User.size();
             });
    case Rendering::HtmlTable:
      // Entities make text longer.
      return 1024 + EstimatedLineSum(lines, [&](const TDataGridLine& line) {
               return 200 + 2 * shown(line) +
                      (line.Second.empty() ? 0 : 150 + 2 * line.Second.size());
             });
    case Rendering::Csv:
      return 64 +
             EstimatedLineSum(lines, [&](const TDataGridLine& line) { return 80 + shown(line); });
  }
  return 0;
}

void WriteKeyText(const TCustomDataGridLines& lines, const Separators& separators, TextSink& out) {
  ShownAmounts amounts(separators);
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    amounts.Reset(line);
    PutKeyBlock(out, line, amounts);
  }
}

std::string KeyText(const TCustomDataGridLines& lines, const Separators& separators) {
  return WrittenText(RenderingSizeHint(lines, Rendering::Text),
                     [&](TextSink& sink) { WriteKeyText(lines, separators, sink); });
}

void WriteHtmlTable(const TCustomDataGridLines& lines, const Separators& separators,
                    TextSink& out) {
  ShownAmounts amounts(separators);
  out.Put(kHtmlTableStart);
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    amounts.Reset(line);
    PutHtmlRows(out, line, amounts);
  }
  out.Put(kHtmlTableEnd);
}

std::string HtmlTable(const TCustomDataGridLines& lines, const Separators& separators) {
  return WrittenText(RenderingSizeHint(lines, Rendering::HtmlTable),
                     [&](TextSink& sink) { WriteHtmlTable(lines, separators, sink); });
}

void WriteCsvText(const TCustomDataGridLines& lines, const Separators& separators, TextSink& out) {
  ShownAmounts amounts(separators);
  PutCsvHeader(out, separators.List);
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    amounts.Reset(line);
    PutCsvRecord(out, line, amounts, separators.List);
  }
}

std::string CsvText(const TCustomDataGridLines& lines, const Separators& separators) {
  return WrittenText(RenderingSizeHint(lines, Rendering::Csv),
                     [&](TextSink& sink) { WriteCsvText(lines, separators, sink); });
}

}  // namespace zw
