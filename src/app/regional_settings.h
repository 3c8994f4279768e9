#pragma once

#include <string>
#include <string_view>

#include "base/separators.h"

// The process-wide number, currency and date conventions. They are fixed once at start-up
// from "ALTEURO.INI" and never follow later changes of the system's regional settings.
namespace zw {

struct RegionalSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  char ListSeparator = ';';              // between CSV fields
  std::string CurrencyString = " \x80";  // blank and euro sign
  int CurrencyFormat = 1;                // amount, then currency string
  int NegCurrFormat = 5;                 // minus sign, amount, currency string
  int CurrencyDecimals = 2;
  char DateSeparator = '.';
  std::string ShortDateFormat = "dd.mm.yyyy";
  bool UpdateFormatSettings = false;  // follow system changes
  std::string EuroString = " \x80";
  std::string CountryCurrencyString = " \x80";

  // The separators handed to every conversion.
  Separators Numbers() const { return {DecimalSeparator, ThousandSeparator, ListSeparator}; }
};

// The settings that the text of "ALTEURO.INI" gives (the defaults for an empty text).
RegionalSettings SettingsFromIni(std::string_view ini_text);

// Reads "ALTEURO.INI" from the given folder (ending in the path delimiter) and makes the
// result the process-wide settings. A missing or unreadable file leaves the defaults.
void InitRegionalSettings(const std::string& folder);

const RegionalSettings& Settings();

// The seam through which the user's locale separators are taken over when the main window
// is created.
void SetNumberSeparators(char decimal_separator, char thousand_separator);
void SetListSeparator(char list_separator);

// Replaces all settings at once (tests).
void ApplySettings(const RegionalSettings& settings);

}  // namespace zw
