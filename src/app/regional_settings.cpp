#include "app/regional_settings.h"

#include "base/errors.h"
#include "base/file_system.h"
#include "base/ini_file.h"

namespace zw {
namespace {

RegionalSettings& MutableSettings() {
  static RegionalSettings settings;
  return settings;
}

// Gives a currency string its leading blank; an empty string becomes one blank.
void EnsureLeadingBlank(std::string& currency) {
  for (int attempt = 0; attempt < 10 && (currency.empty() || currency.front() != ' '); ++attempt) {
    currency.insert(currency.begin(), ' ');
  }
}

}  // namespace

RegionalSettings SettingsFromIni(std::string_view ini_text) {
  const IniFile ini(ini_text);
  RegionalSettings settings;
  std::string euro = " \x80";
  settings.CurrencyString = euro;
  settings.CountryCurrencyString = euro;

  const std::string euro_value = ini.ReadString("EUCHAR", "VALUE", "");
  if (!euro_value.empty()) {
    euro = euro_value;
    settings.CurrencyString = settings.CountryCurrencyString = euro;
  }
  if (ini.ReadBool("EUCHAR", "NULL", false)) {
    euro.clear();
    settings.CurrencyString = settings.CountryCurrencyString = euro;
  }
  const std::string swiss_value = ini.ReadString("CH-CHAR", "VALUE", "");
  const bool euro_country = ini.ReadBool("COUNTRY", "EURO", true);
  if (!euro_country) {
    settings.CurrencyString = settings.CountryCurrencyString =
        swiss_value.empty() ? " CHF" : swiss_value;
  } else {
    settings.CurrencyString = settings.CountryCurrencyString = euro;
  }
  EnsureLeadingBlank(settings.CurrencyString);
  EnsureLeadingBlank(settings.CountryCurrencyString);
  settings.EuroString = euro;

  // The currency string shown is the euro string itself, without an added blank.
  settings.CurrencyString = euro;
  settings.CurrencyFormat = 1;
  settings.NegCurrFormat = 5;
  settings.ThousandSeparator = '.';
  settings.DecimalSeparator = ',';
  settings.CurrencyDecimals = 2;
  settings.DateSeparator = '.';
  if (!euro_country) {
    settings.DecimalSeparator = '.';
    settings.ThousandSeparator = '\'';
  }
  settings.UpdateFormatSettings = false;
  settings.ShortDateFormat =
      std::string("dd") + settings.DateSeparator + "mm" + settings.DateSeparator + "yyyy";
  return settings;
}

void InitRegionalSettings(const std::string& folder) {
  std::string ini_text;
  try {
    const std::string path = folder + "ALTEURO.INI";
    if (FileExists(path)) ini_text = ReadFileBytes(path);
  } catch (const Error&) {
    // An unreadable file leaves the euro convention.
  }
  MutableSettings() = SettingsFromIni(ini_text);
}

const RegionalSettings& Settings() { return MutableSettings(); }

void SetNumberSeparators(char decimal_separator, char thousand_separator) {
  MutableSettings().DecimalSeparator = decimal_separator;
  MutableSettings().ThousandSeparator = thousand_separator;
}

void SetListSeparator(char list_separator) { MutableSettings().ListSeparator = list_separator; }

void ApplySettings(const RegionalSettings& settings) { MutableSettings() = settings; }

}  // namespace zw
