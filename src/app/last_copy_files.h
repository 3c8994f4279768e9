#pragma once

#include <string>
#include <string_view>

#include "base/separators.h"

// The files that the panel's menu writes for the last copied text, each opened for the user
// afterwards.
namespace zw {

// Writes the report with Windows line ends to "Zwischenablage-Erklaerung.txt" in the folder
// (ending in the path delimiter), replacing the previous report; returns the file's path.
// Throws FileCreateError.
std::string WriteExplanationFile(const std::string& folder, std::string_view report);

// Saves the template proposed for the text as a new file "Vorschlag.txt" (or "Vorschlag
// (2).txt", ...) in the template folder, never replacing a file; returns its path. Throws
// NoTableError, whose message tells the user why no template can be made, and
// FileCreateError.
std::string SaveTemplateProposal(const std::string& template_folder, std::string_view text,
                                 const Separators& separators);

}  // namespace zw
