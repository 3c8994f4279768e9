#include <windows.h>

#include "orderlines/UClpUtils.h"

namespace zw {

const ClipboardFormats& RegisteredClipboardFormats() {
  static const ClipboardFormats formats{
      static_cast<std::uint16_t>(RegisterClipboardFormatA("CF_DATAGRIDDATA")),
      static_cast<std::uint16_t>(RegisterClipboardFormatA("HTML Format")), CF_TEXT,
      static_cast<std::uint16_t>(RegisterClipboardFormatA("CSV"))};
  return formats;
}

}  // namespace zw
