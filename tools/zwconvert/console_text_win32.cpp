#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "console_text.h"

namespace zw {

std::string ToConsoleText(std::string_view text) { return std::string(text); }

void SetBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace zw
