#pragma once

#include <string>
#include <string_view>

namespace zw {

// Windows-1252 text as the terminal shows it: unchanged on Windows, UTF-8 elsewhere.
std::string ToConsoleText(std::string_view text);

// Standard input and output carry bytes unchanged (no CR LF translation on Windows).
void SetBinaryStandardStreams();

}  // namespace zw
