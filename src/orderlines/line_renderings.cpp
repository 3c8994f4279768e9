#include "orderlines/line_renderings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

#include "app/regional_settings.h"
#include "base/text_lines.h"
#include "base/win1252.h"
#include "mapping/number_text.h"

namespace zw {
namespace {

// A decimal number as digit text: sign, integer digits (possibly none) and fraction digits.
struct DecimalDigits {
  bool Negative = false;
  std::string_view Integer;
  std::string_view Fraction;
};

// Appends the number with exactly `decimals` decimals, rounded half away from zero on its
// decimal digits. A thousand separator of '\0' means no grouping.
void AppendRoundedDigits(std::string& out, const DecimalDigits& number, std::size_t decimals,
                         char decimal_separator, char thousand_separator) {
  // One leading '0' takes the carry out of the integer digits (999,9995 -> 1.000,000).
  constexpr std::size_t kMaxDigits = 400;
  if (number.Integer.size() + decimals + 1 > kMaxDigits) {
    throw std::invalid_argument("amount has too many digits");
  }
  char digits[kMaxDigits];
  std::size_t count = 0;
  digits[count++] = '0';
  for (const char c : number.Integer) digits[count++] = c;
  const std::size_t integer_end = count;
  const std::string_view fraction = number.Fraction;
  for (std::size_t i = 0; i < decimals; ++i)
    digits[count++] = i < fraction.size() ? fraction[i] : '0';
  if (fraction.size() > decimals && fraction[decimals] >= '5') {
    std::size_t i = count;
    while (i-- > 0) {
      if (digits[i] != '9') {
        ++digits[i];
        break;
      }
      digits[i] = '0';
    }
  }

  bool zero = true;
  for (std::size_t i = 0; i < count && zero; ++i) zero = digits[i] == '0';
  // A value that rounds to zero carries no sign: -0,0004 is written 0,000.
  if (number.Negative && !zero) out.push_back('-');
  std::size_t first = 0;
  while (first + 1 < integer_end && digits[first] == '0') ++first;
  if (thousand_separator == '\0') {
    out.append(digits + first, integer_end - first);
  } else {
    for (std::size_t i = first; i < integer_end; ++i) {
      if (i != first && (integer_end - i) % 3 == 0) out.push_back(thousand_separator);
      out.push_back(digits[i]);
    }
  }
  out.push_back(decimal_separator);
  out.append(digits + integer_end, decimals);
}

// Rounds on the shortest digits that read back as the value, i.e. on the number the user
// sees, not on the binary value: 1.0005 is held a little below 1.0005 and must still give
// 1,001, and 1,23456789012345E20 keeps its zeros instead of showing the binary value's digits.
void AppendRounded(std::string& out, double value, std::size_t decimals, char decimal_separator,
                   char thousand_separator) {
  if (!std::isfinite(value)) throw std::invalid_argument("amount is not a finite number");
  // At most 17 digits, a point, a sign and a three-digit exponent: "-1.2345678901234567e-308".
  char shortest[32];
  const auto [end, error] =
      std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific);
  if (error != std::errc()) throw std::invalid_argument("amount cannot be written");
  const char* p = shortest;
  DecimalDigits number;
  number.Negative = *p == '-';
  if (number.Negative) ++p;
  char mantissa[24];
  int mantissa_length = 0;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.') mantissa[mantissa_length++] = *p;
  }
  int exponent = 0;
  if (p != end) ++p;
  const bool negative_exponent = p != end && *p == '-';
  if (p != end && (*p == '-' || *p == '+')) ++p;
  for (; p != end; ++p) exponent = exponent * 10 + (*p - '0');
  if (negative_exponent) exponent = -exponent;

  // The plain form: the point stands after mantissa digit exponent + 1. Doubles stay within
  // 309 integer digits and 340 decimals.
  char plain[400];
  int length = 0;
  int integer_length = 0;
  if (exponent >= 0) {
    integer_length = exponent + 1;
    for (int i = 0; i < integer_length; ++i)
      plain[length++] = i < mantissa_length ? mantissa[i] : '0';
    for (int i = integer_length; i < mantissa_length; ++i) plain[length++] = mantissa[i];
  } else {
    for (int i = 1; i < -exponent; ++i) plain[length++] = '0';
    for (int i = 0; i < mantissa_length; ++i) plain[length++] = mantissa[i];
  }
  const std::string_view digits(plain, static_cast<std::size_t>(length));
  number.Integer = digits.substr(0, static_cast<std::size_t>(integer_length));
  number.Fraction = digits.substr(static_cast<std::size_t>(integer_length));
  AppendRoundedDigits(out, number, decimals, decimal_separator, thousand_separator);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Recognises the common amount texts ("-12", "15,2", ",5") whose digits can be rounded as they
// stand. With at most 15 significant digits in the normal range a decimal text has the value of
// the shortest digits of the double it reads as, so this gives what reading and then rounding
// the double gives, without the cost of both conversions. Anything else is left to TextToNumber.
bool ReadPlainDecimal(std::string_view text, char decimal_separator, DecimalDigits& number,
                      bool& zero) {
  std::size_t pos = 0;
  number.Negative = !text.empty() && text[0] == '-';
  if (number.Negative) ++pos;
  const std::size_t integer_start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  number.Integer = text.substr(integer_start, pos - integer_start);
  number.Fraction = {};
  if (pos < text.size() && text[pos] == decimal_separator) {
    const std::size_t fraction_start = ++pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    number.Fraction = text.substr(fraction_start, pos - fraction_start);
  }
  constexpr std::size_t kMaxSide = 22;
  if (pos != text.size() || (number.Integer.empty() && number.Fraction.empty()) ||
      number.Integer.size() > kMaxSide || number.Fraction.size() > kMaxSide) {
    return false;
  }
  // Significant digits run from the first to the last non-zero digit.
  std::size_t first = 0;
  std::size_t last = 0;
  std::size_t index = 0;
  bool any = false;
  for (const std::string_view part : {number.Integer, number.Fraction}) {
    for (const char c : part) {
      if (c != '0') {
        if (!any) first = index;
        last = index;
        any = true;
      }
      ++index;
    }
  }
  zero = !any;
  return zero || last - first < 15;
}

// Appends the amount text read as a number and rounded to `decimals`; a zero amount is written
// only when asked for. False when nothing was written.
bool AppendAmountText(std::string& out, std::string_view text, std::size_t decimals,
                      char decimal_separator, char thousand_separator, bool write_zero) {
  DecimalDigits number;
  bool zero = false;
  if (ReadPlainDecimal(text, decimal_separator, number, zero)) {
    if (zero) {
      if (!write_zero) return false;
      AppendRoundedDigits(out, DecimalDigits{}, decimals, decimal_separator, thousand_separator);
      return true;
    }
    AppendRoundedDigits(out, number, decimals, decimal_separator, thousand_separator);
    return true;
  }
  const double value = TextToNumber(text, decimal_separator);
  if (value == 0 && !write_zero) return false;
  AppendRounded(out, value, decimals, decimal_separator, thousand_separator);
  return true;
}

// Appends FormatAmount3 of the text; false when that is empty.
bool AppendAmount3(std::string& out, std::string_view text, char decimal_separator,
                   char thousand_separator) {
  if (text.empty()) return false;
  return AppendAmountText(out, text, 3, decimal_separator, thousand_separator, false);
}

// The price pattern of the key text applied to an amount text.
void AppendPrice(std::string& out, std::string_view text, char decimal_separator) {
  AppendAmountText(out, text, 2, decimal_separator, '\0', true);
}

// The replacement of every byte that ToHtmlText changes; empty for a byte that is kept and for
// LF, which is dropped.
const std::array<std::string, 256>& HtmlEntities() {
  static const std::array<std::string, 256> entities = [] {
    std::array<std::string, 256> table;
    for (int b = 0xA1; b <= 0xFF; ++b) table[b] = "&#" + std::to_string(b) + ";";
    table[0xC4] = "&Auml;";
    table[0xD6] = "&Ouml;";
    table[0xDC] = "&Uuml;";
    table[0xDF] = "&szlig;";
    table[0xE4] = "&auml;";
    table[0xF6] = "&ouml;";
    table[0xFC] = "&uuml;";
    table[' '] = "&nbsp;";
    table[0x95] = "&#8226;";
    table['\r'] = "<br>";
    return table;
  }();
  return entities;
}

// Appends ToHtmlText of the text; false when that is empty. Runs of kept bytes are copied at
// once.
bool AppendHtmlText(std::string& out, std::string_view text) {
  const auto& entities = HtmlEntities();
  const std::size_t start = out.size();
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const std::string& entity = entities[static_cast<unsigned char>(c)];
    if (entity.empty() && c != '\n') continue;
    out.append(text.data() + run, i - run);
    out += entity;
    run = i + 1;
  }
  out.append(text.data() + run, text.size() - run);
  return out.size() != start;
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

std::string FormatAmount3(std::string_view text, char decimal_separator, char thousand_separator) {
  std::string out;
  AppendAmount3(out, text, decimal_separator, thousand_separator);
  return out;
}

std::string FormatAmount3(std::string_view text) {
  return FormatAmount3(text, Settings().DecimalSeparator, Settings().ThousandSeparator);
}

std::string FormatPrice(double value, char decimal_separator) {
  std::string out;
  AppendRounded(out, value, 2, decimal_separator, '\0');
  return out;
}

std::string FormatPrice(double value) { return FormatPrice(value, Settings().DecimalSeparator); }

std::string TISO8859Adapter::ToHtmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHtmlText(out, text);
  return out;
}

std::string KeyText(const TCustomDataGridLines& lines) {
  const char decimal_separator = Settings().DecimalSeparator;
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

std::string HtmlTable(const TCustomDataGridLines& lines) {
  std::string out;
  AppendHtmlTable(lines, out);
  return out;
}

void AppendHtmlTable(const TCustomDataGridLines& lines, std::string& out) {
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

  const char decimal_separator = Settings().DecimalSeparator;
  const char thousand_separator = Settings().ThousandSeparator;

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

std::string CsvText(const TCustomDataGridLines& lines) {
  const char separator = Settings().ListSeparator;
  const char decimal_separator = Settings().DecimalSeparator;
  const char thousand_separator = Settings().ThousandSeparator;

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
