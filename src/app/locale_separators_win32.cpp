#include <windows.h>

#include "app/locale_separators.h"
#include "app/regional_settings.h"

namespace zw {
namespace {

char FirstCharacterOf(LCTYPE item, char fallback) {
  char value[16] = {};
  if (GetLocaleInfoA(GetThreadLocale(), item, value, sizeof value) > 0 && value[0] != '\0') {
    return value[0];
  }
  return fallback;
}

}  // namespace

void TakeLocaleSeparators() {
  SetNumberSeparators(FirstCharacterOf(LOCALE_SDECIMAL, '.'),
                      FirstCharacterOf(LOCALE_STHOUSAND, ','));
  SetListSeparator(FirstCharacterOf(LOCALE_SLIST, ','));
}

}  // namespace zw
