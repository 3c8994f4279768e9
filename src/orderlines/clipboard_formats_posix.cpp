#include "orderlines/UClpUtils.h"

namespace zw {

// Without a system clipboard the names get fixed identifiers from the range Windows gives
// registered formats.
const ClipboardFormats& RegisteredClipboardFormats() {
  static const ClipboardFormats formats{0xC100, 0xC101, 1, 0xC102};
  return formats;
}

}  // namespace zw
