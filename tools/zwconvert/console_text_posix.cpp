#include "base/win1252.h"
#include "console_text.h"

namespace zw {

std::string ToConsoleText(std::string_view text) { return Win1252ToUtf8(text); }

void SetBinaryStandardStreams() {}

}  // namespace zw
