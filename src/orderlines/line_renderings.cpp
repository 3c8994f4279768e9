#include "orderlines/line_renderings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/text_lines.h"
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

// Appends ToHtmlText of the text; false when that is empty. Each byte's escape is copied whole
// into a buffer on the stack, which goes into out in large pieces.
bool AppendHtmlText(std::string& out, std::string_view text) {
  const auto& escapes = HtmlEscapes();
  constexpr std::size_t kBufferSize = 1024;
  char buffer[kBufferSize + sizeof(HtmlEscape::Bytes)];
  char* written = buffer;
  bool any = false;
  for (const char c : text) {
    const HtmlEscape& escape = escapes[static_cast<unsigned char>(c)];
    std::memcpy(written, escape.Bytes, sizeof escape.Bytes);
    written += escape.Length;
    if (written >= buffer + kBufferSize) {
      out.append(buffer, static_cast<std::size_t>(written - buffer));
      written = buffer;
      any = true;
    }
  }
  if (written != buffer) {
    out.append(buffer, static_cast<std::size_t>(written - buffer));
    any = true;
  }
  return any;
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

// Appends the value and the key of the next line; one append per literal keeps the key text
// fast.
void AppendValue(std::string& out, std::string_view value, std::string_view line_end_and_key) {
  if (!value.empty()) out += value;
  out += line_end_and_key;
}

// The key text writes the amounts of a text line as they stand, those of other lines as
// prices.
void AppendKeyPrice(std::string& out, bool text_line, std::string_view amount,
                    std::string_view line_end_and_key, char decimal_separator) {
  if (text_line) {
    if (!amount.empty()) out += amount;
  } else {
    AppendPrice(out, amount, decimal_separator);
  }
  out += line_end_and_key;
}

void AppendQuoted(std::string& out, std::string_view value) {
  out.push_back('"');
  std::size_t run = 0;
  for (std::size_t quote = value.find('"'); quote != std::string_view::npos;
       quote = value.find('"', quote + 1)) {
    // Copies up to and including the quote, which then starts the next run: it is doubled.
    out.append(value.data() + run, quote + 1 - run);
    run = quote;
  }
  out.append(value.data() + run, value.size() - run);
  out.push_back('"');
}

// Appends a quoted FormatAmount3 field; amounts hold no quotes.
void AppendQuotedAmount3(std::string& out, std::string_view text, char decimal_separator,
                         char thousand_separator) {
  out.push_back('"');
  AppendAmount3(out, text, decimal_separator, thousand_separator);
  out.push_back('"');
}

}  // namespace

std::string TISO8859Adapter::ToHtmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHtmlText(out, text);
  return out;
}

std::string KeyText(const TCustomDataGridLines& lines, const Separators& separators) {
  const char decimal_separator = separators.Decimal;
  std::size_t size = 0;
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    size += 200 + line.Pos.size() + line.Stueck.size() + line.Einheit.size() +
            line.Bezeichnung1.size() + line.Bezeichnung2.size() + line.BestellNummer.size() +
            line.Seriennummer.size() + line.Artikelnummer.size() + line.Einzelbetrag.size() +
            line.Steuer.size() + line.Rabatt.size() + line.SummeBetrag.size() + line.Second.size() +
            line.User.size();
  }
  std::string out;
  out.reserve(size);
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    const bool text_line = IsTextLine(line);
    // The three description lines have an empty key in the application's own text format.
    out += "Position=";
    AppendValue(out, line.Pos, "\r\nMenge=");
    AppendValue(out, line.Stueck, "\r\nEinheit=");
    AppendValue(out, line.Einheit, "\r\n=");
    AppendValue(out, line.Bezeichnung1, "\r\n=");
    AppendValue(out, line.Bezeichnung2, "\r\n=");
    AppendValue(out, line.BestellNummer, "\r\nSeriennummer=");
    AppendValue(out, line.Seriennummer, "\r\nArtikelnummer=");
    AppendValue(out, line.Artikelnummer, "\r\nEinzelbetrag=");
    AppendKeyPrice(out, text_line, line.Einzelbetrag, "\r\nSteuer=", decimal_separator);
    AppendValue(out, line.Steuer, "\r\nRabatt=");
    AppendValue(out, line.Rabatt, "\r\nSummebetrag=");
    AppendKeyPrice(out, text_line, line.SummeBetrag, "\r\nBeschreibung=", decimal_separator);
    AppendValue(out, line.Second, "\r\nEAN=");
    AppendValue(out, EanOf(line.User), "\r\n--------------------\r\n");
  }
  return out;
}

std::string HtmlTable(const TCustomDataGridLines& lines, const Separators& separators) {
  std::string out;
  AppendHtmlTable(lines, separators, out);
  return out;
}

void AppendHtmlTable(const TCustomDataGridLines& lines, const Separators& separators,
                     std::string& out) {
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

  std::size_t size = out.size() + kStart.size() + kHeader.size() + kEnd.size() + 64;
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    // Entities make text longer; the string still grows on its own if this falls short.
    size += 200 + 2 * (line.Pos.size() + line.Bezeichnung1.size() + line.Artikelnummer.size());
    if (!line.Second.empty()) size += kLongTextStart.size() + 20 + 2 * line.Second.size();
  }
  out.reserve(size);
  out += kStart;
  out += kHeader;
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    const std::size_t row_start = out.size();
    // Part number and discount do not make a row worth showing.
    bool shown = false;
    out += kRowStart;
    shown |= AppendHtmlText(out, line.Pos);
    out += kNextLeft;
    shown |= AppendAmount3(out, line.Stueck, decimal_separator, thousand_separator);
    out += kNextLeft;
    shown |= AppendHtmlText(out, line.Bezeichnung1);
    out += kNextLeft;
    AppendHtmlText(out, line.Artikelnummer);
    out += kNextPrice;
    shown |= AppendAmount3(out, line.Einzelbetrag, decimal_separator, thousand_separator);
    out += kNextLeft;
    AppendAmount3(out, line.Rabatt, decimal_separator, thousand_separator);
    out += kNextRight;
    shown |= AppendAmount3(out, line.SummeBetrag, decimal_separator, thousand_separator);
    out += kRowEnd;
    if (!shown) out.resize(row_start);

    if (!line.Second.empty()) {
      out += kLongTextStart;
      AppendHtmlText(out, line.Second);
      out += kLongTextEnd;
    }
  }
  out += kEnd;
}

std::string CsvText(const TCustomDataGridLines& lines, const Separators& separators) {
  const char separator = separators.List;
  const char decimal_separator = separators.Decimal;
  const char thousand_separator = separators.Thousand;

  std::size_t size = 64;
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    size += 80 + line.Pos.size() + line.Bezeichnung1.size() + line.Artikelnummer.size();
  }
  std::string out;
  out.reserve(size);
  static constexpr std::string_view kNames[] = {"Pos",   "Menge",  "Text", "Nummer",
                                                "Preis", "Rabatt", "Summe"};
  for (const std::string_view name : kNames) {
    if (name != kNames[0]) out.push_back(separator);
    AppendQuoted(out, name);
  }
  for (int i = 0; i < lines.Count(); ++i) {
    const TDataGridLine& line = lines.Items(i);
    out += "\r\n";
    AppendQuoted(out, line.Pos);
    out.push_back(separator);
    AppendQuotedAmount3(out, line.Stueck, decimal_separator, thousand_separator);
    out.push_back(separator);
    AppendQuoted(out, line.Bezeichnung1);
    out.push_back(separator);
    AppendQuoted(out, line.Artikelnummer);
    out.push_back(separator);
    AppendQuotedAmount3(out, line.Einzelbetrag, decimal_separator, thousand_separator);
    out.push_back(separator);
    AppendQuotedAmount3(out, line.Rabatt, decimal_separator, thousand_separator);
    out.push_back(separator);
    AppendQuotedAmount3(out, line.SummeBetrag, decimal_separator, thousand_separator);
  }
  return out;
}

}  // namespace zw
