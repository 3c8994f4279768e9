#include "app/regional_settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace zw {
namespace {

TEST(RegionalSettings, WithoutIniTheEuroConventionHolds) {
  const RegionalSettings settings = SettingsFromIni("");
  EXPECT_EQ(settings.DecimalSeparator, ',');
  EXPECT_EQ(settings.ThousandSeparator, '.');
  EXPECT_EQ(settings.CurrencyString, " \x80");
  EXPECT_EQ(settings.CountryCurrencyString, " \x80");
  EXPECT_EQ(settings.CurrencyFormat, 1);
  EXPECT_EQ(settings.NegCurrFormat, 5);
  EXPECT_EQ(settings.CurrencyDecimals, 2);
  EXPECT_EQ(settings.DateSeparator, '.');
  EXPECT_EQ(settings.ShortDateFormat, "dd.mm.yyyy");
  EXPECT_FALSE(settings.UpdateFormatSettings);
}

TEST(RegionalSettings, SwissConventionSwapsSeparatorsAndCountryCurrency) {
  const RegionalSettings settings = SettingsFromIni("[COUNTRY]\nEURO=0\n");
  EXPECT_EQ(settings.DecimalSeparator, '.');
  EXPECT_EQ(settings.ThousandSeparator, '\'');
  EXPECT_EQ(settings.CountryCurrencyString, " CHF");
  // The currency string shown stays the euro string.
  EXPECT_EQ(settings.CurrencyString, " \x80");
}

TEST(RegionalSettings, SwissCurrencyFromIniGetsOneLeadingBlank) {
  const RegionalSettings settings = SettingsFromIni("[COUNTRY]\nEURO=0\n[CH-CHAR]\nVALUE=Fr.\n");
  EXPECT_EQ(settings.CountryCurrencyString, " Fr.");
}

TEST(RegionalSettings, EuroValueReplacesTheEuroStringWithoutAddedBlank) {
  const RegionalSettings settings = SettingsFromIni("[EUCHAR]\nVALUE=EUR\n");
  EXPECT_EQ(settings.CurrencyString, "EUR");
  EXPECT_EQ(settings.CountryCurrencyString, " EUR");
}

TEST(RegionalSettings, EuroNullEmptiesTheEuroString) {
  const RegionalSettings settings = SettingsFromIni("[EUCHAR]\nVALUE=EUR\nNULL=1\n");
  EXPECT_EQ(settings.CurrencyString, "");
  EXPECT_EQ(settings.CountryCurrencyString, " ");
}

TEST(RegionalSettings, NonNumericBooleanKeepsTheDefault) {
  const RegionalSettings settings = SettingsFromIni("[COUNTRY]\nEURO=nein\n");
  EXPECT_EQ(settings.DecimalSeparator, ',');
}

TEST(RegionalSettings, InitReadsAlteuroIniFromTheFolderAndSeparatorsCanBeOverridden) {
  const RegionalSettings saved = Settings();
  test::TempFolder folder;
  folder.Write("ALTEURO.INI", "[COUNTRY]\r\nEURO=0\r\n");
  InitRegionalSettings(folder.Path());
  EXPECT_EQ(Settings().DecimalSeparator, '.');
  // The main window takes the locale's separators; they no longer depend on the INI file.
  SetNumberSeparators(',', '.');
  EXPECT_EQ(Settings().DecimalSeparator, ',');
  EXPECT_EQ(Settings().ThousandSeparator, '.');
  EXPECT_EQ(Settings().CountryCurrencyString, " CHF");
  ApplySettings(saved);
}

TEST(RegionalSettings, MissingIniFileGivesTheEuroConvention) {
  const RegionalSettings saved = Settings();
  test::TempFolder folder;
  InitRegionalSettings(folder.Path());
  EXPECT_EQ(Settings().DecimalSeparator, ',');
  EXPECT_EQ(Settings().CurrencyString, " \x80");
  ApplySettings(saved);
}

}  // namespace
}  // namespace zw
