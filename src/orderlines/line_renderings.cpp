#include "orderlines/line_renderings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/text_lines.h"
#include "base/text_sink.h"
#include "base/win1252.h"
#include "orderlines/amount_format.h"

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

// Writes ToHtmlText of the text. Each byte's escape is copied whole into the sink's room, whose
// write position then moves on by the escape's length.
void PutHtmlText(TextSink& out, std::string_view text) {
  const auto& escapes = HtmlEscapes();
  constexpr std::size_t kPiece = 128;  // input bytes per room: at most 7 output bytes each
  while (!text.empty()) {
    const std::string_view piece = text.substr(0, kPiece);
    char* written = out.Room(piece.size() * 7 + sizeof(HtmlEscape::Bytes));
    for (const char c : piece) {
      const HtmlEscape& escape = escapes[static_cast<unsigned char>(c)];
      std::memcpy(written, escape.Bytes, sizeof escape.Bytes);
      written += escape.Length;
    }
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

// The key text writes the amounts of a text line as they stand, those of other lines as
// prices.
void PutKeyPrice(TextSink& out, bool text_line, std::string_view amount, char decimal_separator) {
  if (text_line) {
    out.Put(amount);
  } else {
    PutPrice(out, amount, decimal_separator);
  }
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

// A quoted FormatAmount3 field; amounts hold no quotes.
void PutQuotedAmount3(TextSink& out, std::string_view text, char decimal_separator,
                      char thousand_separator) {
  out.Put('"');
  PutAmount3(out, text, decimal_separator, thousand_separator);
  out.Put('"');
}

}  // namespace

std::string TISO8859Adapter::ToHtmlText(std::string_view text) {
  std::string out;
  {
    StringSink sink(out, text.size() + 16);
    PutHtmlText(sink, text);
  }
  return out;
}

std::size_t KeyTextSizeHint(const TCustomDataGridLines& lines) {
  std::size_t size = 0;
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    size += 200 + line.Pos.size() + line.Stueck.size() + line.Einheit.size() +
            line.Bezeichnung1.size() + line.Bezeichnung2.size() + line.BestellNummer.size() +
            line.Seriennummer.size() + line.Artikelnummer.size() + line.Einzelbetrag.size() +
            line.Steuer.size() + line.Rabatt.size() + line.SummeBetrag.size() + line.Second.size() +
            line.User.size();
  }
  return size;
}

void WriteKeyText(const TCustomDataGridLines& lines, const Separators& separators, TextSink& out) {
  const char decimal_separator = separators.Decimal;
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    const bool text_line = IsTextLine(line);
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
    PutKeyPrice(out, text_line, line.Einzelbetrag, decimal_separator);
    out.Put("\r\nSteuer=");
    out.Put(line.Steuer);
    out.Put("\r\nRabatt=");
    out.Put(line.Rabatt);
    out.Put("\r\nSummebetrag=");
    PutKeyPrice(out, text_line, line.SummeBetrag, decimal_separator);
    out.Put("\r\nBeschreibung=");
    out.Put(line.Second);
    out.Put("\r\nEAN=");
    out.Put(EanOf(line.User));
    out.Put("\r\n--------------------\r\n");
  }
}

std::string KeyText(const TCustomDataGridLines& lines, const Separators& separators) {
  std::string out;
  StringSink sink(out, KeyTextSizeHint(lines));
  WriteKeyText(lines, separators, sink);
  sink.Finish();
  return out;
}

std::size_t HtmlTableSizeHint(const TCustomDataGridLines& lines) {
  std::size_t size = 1024;
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    // Entities make text longer; the sink still grows on its own if this falls short.
    size += 200 + 2 * (line.Pos.size() + line.Bezeichnung1.size() + line.Artikelnummer.size());
    if (!line.Second.empty()) size += 150 + 2 * line.Second.size();
  }
  return size;
}

void WriteHtmlTable(const TCustomDataGridLines& lines, const Separators& separators,
                    TextSink& out) {
  static constexpr std::string_view kStart =
      "<div><font face=\"verdana,Tahoma,arial,helvetica\"><table width=\"100%\" border=1 "
      "cellpadding=1 bordercolor=\"#000000\" cellspacing=-1 style=\"border-width: 0px; "
      "border-collapse: collapse;\">";
  static constexpr std::string_view kHeader =
      "<tr>"
      "<th align=left bgcolor=\"#e6f9ff\">Position</th>"
      "<th align=left bgcolor=\"#e6f9ff\">Menge</th>"
      "<th align=left bgcolor=\"#e6f9ff\">Text</th>"
      "<th align=left bgcolor=\"#e6f9ff\">Nummer</th>"
      "<th align=right bgcolor=\"#e6f9ff\">Preis</th>"
      "<th align=left bgcolor=\"#e6f9ff\">Rabatt</th>"
      "<th  align=right bgcolor=\"#e6f9ff\">Summe</th>"
      "</tr>";
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
  static constexpr std::string_view kEnd = "</Table></div>";

  const char decimal_separator = separators.Decimal;
  const char thousand_separator = separators.Thousand;
  // The amounts of a row, each read once: whether the row is shown depends on them.
  std::string quantity;
  std::string price;
  std::string total;
  const auto amount3 = [&](std::string& out_text, std::string_view text) {
    out_text.clear();
    AppendAmount3(out_text, text, decimal_separator, thousand_separator);
  };

  out.Put(kStart);
  out.Put(kHeader);
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    amount3(quantity, line.Stueck);
    amount3(price, line.Einzelbetrag);
    amount3(total, line.SummeBetrag);
    // Part number and discount do not make a row worth showing.
    const bool shown = !HtmlTextIsEmpty(line.Pos) || !quantity.empty() ||
                       !HtmlTextIsEmpty(line.Bezeichnung1) || !price.empty() || !total.empty();
    if (shown) {
      out.Put(kRowStart);
      PutHtmlText(out, line.Pos);
      out.Put(kNextLeft);
      out.Put(quantity);
      out.Put(kNextLeft);
      PutHtmlText(out, line.Bezeichnung1);
      out.Put(kNextLeft);
      PutHtmlText(out, line.Artikelnummer);
      out.Put(kNextPrice);
      out.Put(price);
      out.Put(kNextLeft);
      PutAmount3(out, line.Rabatt, decimal_separator, thousand_separator);
      out.Put(kNextRight);
      out.Put(total);
      out.Put(kRowEnd);
    }
    if (!line.Second.empty()) {
      out.Put(kLongTextStart);
      PutHtmlText(out, line.Second);
      out.Put(kLongTextEnd);
    }
  }
  out.Put(kEnd);
}

std::string HtmlTable(const TCustomDataGridLines& lines, const Separators& separators) {
  std::string out;
  StringSink sink(out, HtmlTableSizeHint(lines));
  WriteHtmlTable(lines, separators, sink);
  sink.Finish();
  return out;
}

std::size_t CsvTextSizeHint(const TCustomDataGridLines& lines) {
  std::size_t size = 64;
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    size += 80 + line.Pos.size() + line.Bezeichnung1.size() + line.Artikelnummer.size();
  }
  return size;
}

void WriteCsvText(const TCustomDataGridLines& lines, const Separators& separators, TextSink& out) {
  const char separator = separators.List;
  const char decimal_separator = separators.Decimal;
  const char thousand_separator = separators.Thousand;
  static constexpr std::string_view kNames[] = {"Pos",   "Menge",  "Text", "Nummer",
                                                "Preis", "Rabatt", "Summe"};
  for (const std::string_view name : kNames) {
    if (name != kNames[0]) out.Put(separator);
    PutQuoted(out, name);
  }
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    out.Put("\r\n");
    PutQuoted(out, line.Pos);
    out.Put(separator);
    PutQuotedAmount3(out, line.Stueck, decimal_separator, thousand_separator);
    out.Put(separator);
    PutQuoted(out, line.Bezeichnung1);
    out.Put(separator);
    PutQuoted(out, line.Artikelnummer);
    out.Put(separator);
    PutQuotedAmount3(out, line.Einzelbetrag, decimal_separator, thousand_separator);
    out.Put(separator);
    PutQuotedAmount3(out, line.Rabatt, decimal_separator, thousand_separator);
    out.Put(separator);
    PutQuotedAmount3(out, line.SummeBetrag, decimal_separator, thousand_separator);
  }
}

std::string CsvText(const TCustomDataGridLines& lines, const Separators& separators) {
  std::string out;
  StringSink sink(out, CsvTextSizeHint(lines));
  WriteCsvText(lines, separators, sink);
  sink.Finish();
  return out;
}

}  // namespace zw
