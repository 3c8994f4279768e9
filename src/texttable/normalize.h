#pragma once

#include <string>
#include <string_view>

namespace zw {

// Removes every tab and blank, then trims characters of code 32 or less at both ends.
// Every comparison with "IgnoreLines" entries and "MustContaintsLine" goes through it.
std::string NormalizeText(std::string_view text);
// The same into out, replacing its content, so that loops can reuse one buffer.
void NormalizeTextInto(std::string_view text, std::string& out);

// True when one line of the text, normalised, contains the normalised required text.
bool ContainsRequiredLine(std::string_view text, std::string_view normalized_required);

}  // namespace zw
