#include "texttable/record_scanner.h"

#include <limits>

#include "base/errors.h"

namespace zw {

void CheckRecordTextSize(std::string_view text) {
  // Room for the CR and the NUL that the text reads as followed by.
  if (text.size() >= std::numeric_limits<std::uint32_t>::max() - 2) {
    throw Error("Der Text ist zu gro\xDF");
  }
}

}  // namespace zw
