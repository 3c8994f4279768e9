#include "proposal/heading_words.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_set>
#include <vector>

#include "proposal/cell_kinds.h"

namespace zw {
namespace {

struct RoleWords {
  ColumnRole Role;
  std::vector<std::string_view> Keys;  // HeadingKey forms, Windows-1252
};

// Searched in this order, so a key known to two roles goes to the first.
const std::vector<RoleWords>& KnownHeadings() {
  static const std::vector<RoleWords> known = {
      {ColumnRole::Pos, {"pos", "position", "nr", "pos nr", "posnr", "lfd nr", "no", "n\xB0"}},
      {ColumnRole::Quantity,
       {"menge", "stk", "st",
        "st\xFC"
        "ck",
        "stck", "anzahl", "anz", "qty", "quantity", "quantit\xE9", "quantite", "qt\xE9", "qte",
        "quantit\xE0", "qt\xE0", "qta", "pcs"}},
      {ColumnRole::Unit,
       {"einheit", "einh", "mengeneinheit", "me", "eh", "unit", "unit\xE9", "unite", "uom",
        "unit\xE0"}},
      {ColumnRole::Description,
       {"bezeichnung", "beschreibung", "text", "artikel", "leistung", "description",
        "d\xE9sign"
        "ation",
        "designation", "descrizione", "artikelbezeichnung", "leistungsbeschreibung", "produkt",
        "product", "article", "libell\xE9"}},
      {ColumnRole::PartNumber,
       {"art nr", "artnr", "artikelnummer", "artikelnr", "artikel nr", "nummer", "item no",
        "item number",
        "r\xE9"
        "f",
        "ref",
        "r\xE9"
        "f\xE9rence",
        "reference", "sku", "part no", "part number", "code", "codice"}},
      {ColumnRole::Price,
       {"preis",
        "einzelpreis",
        "ep",
        "preis stk",
        "preis st\xFC"
        "ck",
        "chf stk",
        "eur stk",
        "fr stk",
        "st\xFC"
        "ckpreis",
        "einheitspreis",
        "unit price",
        "price",
        "prix",
        "prix unitaire",
        "pu",
        "prezzo",
        "prezzo unitario",
        "ansatz",
        "preis me",
        "preis eh"}},
      {ColumnRole::Tax,
       {"mwst", "mwst satz", "mwst %", "steuer", "steuersatz", "vat", "vat %", "tva", "tva %",
        "ust", "iva", "tax"}},
      {ColumnRole::Total,
       {"total", "betrag", "gesamt", "gp", "summe", "amount", "montant", "gesamtpreis",
        "totalpreis", "gesamtbetrag", "total ht", "montant ht", "importo", "totale", "line total",
        "nettobetrag"}},
  };
  return known;
}

constexpr std::array<std::string_view, 8> kCurrencies = {"chf", "eur",  "usd", "fr",
                                                         "sfr", "\x80", "$",   "gbp"};

bool IsCurrency(const std::string& word) {
  return std::find(kCurrencies.begin(), kCurrencies.end(), word) != kCurrencies.end();
}

std::optional<ColumnRole> RoleOfKey(std::string_view key) {
  for (const RoleWords& words : KnownHeadings()) {
    if (std::find(words.Keys.begin(), words.Keys.end(), key) != words.Keys.end()) return words.Role;
  }
  return std::nullopt;
}

bool IsWordOf(std::string_view word, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

bool IsMeasureWord(std::string_view word) {
  return IsWordOf(word, {"breite", "h\xF6he", "hoehe", "l\xE4nge", "laenge", "tiefe", "dicke",
                         "width", "height", "length", "depth", "largeur", "hauteur", "longueur",
                         "b", "h", "l", "t", "w"});
}

}  // namespace

std::string_view RoleKey(ColumnRole role) {
  static constexpr std::array<std::string_view, kColumnRoles> kKeys = {
      "PosNumber",  "Quantity", "QuantityUnit", "Description1",
      "PartNumber", "Price",    "TaxValue",     "TotalRow"};
  return kKeys[static_cast<std::size_t>(role)];
}

std::string_view RoleName(ColumnRole role) {
  static constexpr std::array<std::string_view, kColumnRoles> kNames = {
      "Position",      "Menge",       "Einheit", "Bezeichnung",
      "Artikelnummer", "Einzelpreis", "Steuer",  "Total"};
  return kNames[static_cast<std::size_t>(role)];
}

bool HoldsNumbers(ColumnRole role) {
  return role == ColumnRole::Quantity || role == ColumnRole::Price || role == ColumnRole::Total;
}

std::optional<ColumnRole> RoleOfHeading(std::string_view cell) {
  const std::vector<std::string> words = HeadingWords(cell);
  std::string key;
  std::string without_currency;
  bool currency = false;
  for (const std::string& word : words) {
    if (!key.empty()) key += ' ';
    key += word;
    if (IsCurrency(word)) {
      currency = true;
      continue;
    }
    if (!without_currency.empty()) without_currency += ' ';
    without_currency += word;
  }
  if (const std::optional<ColumnRole> role = RoleOfKey(key)) return role;
  if (!currency || without_currency.empty()) return std::nullopt;
  // A currency per unit ("EUR/Stk", "CHF/m") is a price; "Total/CHF" is a total.
  const std::optional<ColumnRole> rest = RoleOfKey(without_currency);
  if (rest == ColumnRole::Quantity || rest == ColumnRole::Unit) return ColumnRole::Price;
  return rest;
}

bool IsSummaryLabel(std::string_view cell) {
  static const std::unordered_set<std::string_view> kSummaryWords = {"summe",
                                                                     "zwischensumme",
                                                                     "gesamtsumme",
                                                                     "endsumme",
                                                                     "total",
                                                                     "zwischentotal",
                                                                     "gesamttotal",
                                                                     "subtotal",
                                                                     "mwst",
                                                                     "rabatt",
                                                                     "skonto",
                                                                     "rechnungsbetrag",
                                                                     "endbetrag",
                                                                     "nettobetrag",
                                                                     "bruttobetrag",
                                                                     "\xFC"
                                                                     "bertrag",
                                                                     "vat",
                                                                     "tva",
                                                                     "ttc",
                                                                     "discount",
                                                                     "remise",
                                                                     "totale",
                                                                     "subtotale",
                                                                     "iva",
                                                                     "sconto",
                                                                     "ust",
                                                                     "gesamt",
                                                                     "gesamtbetrag"};
  const std::vector<std::string> words = HeadingWords(cell);
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (kSummaryWords.count(words[i]) != 0) return true;
    if (i + 1 < words.size() && words[i] == "sous" && words[i + 1] == "total") return true;
  }
  return false;
}

bool IsMeasurePair(std::string_view cell) {
  std::vector<std::string> words = HeadingWords(cell);
  // Units after the measures: "Breite x Höhe mm".
  while (!words.empty() && IsWordOf(words.back(), {"mm", "cm", "m"})) words.pop_back();
  return words.size() == 3 && IsMeasureWord(words[0]) && words[1] == "x" && IsMeasureWord(words[2]);
}

bool IsMeasure(std::string_view cell) {
  std::vector<std::string> words = HeadingWords(cell);
  while (!words.empty() && IsWordOf(words.back(), {"mm", "cm", "m"})) words.pop_back();
  return words.size() == 1 && IsMeasureWord(words[0]) && words[0].size() > 1;
}

bool IsArea(std::string_view cell) {
  const std::string key = HeadingKey(cell);
  return IsWordOf(key, {"m\xB2", "m2", "qm",
                        "fl\xE4"
                        "che",
                        "m\xB3", "m3", "area", "surface"});
}

}  // namespace zw
