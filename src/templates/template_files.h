#pragma once

#include <string>
#include <vector>

#include "base/sleeper.h"
#include "templates/template_rules.h"

// The template folder, the default files written into it, and the listing and loading of
// the user's template files.
namespace zw {

// The given folder with exactly one trailing path delimiter, created when missing.
std::string PrepareTemplateFolder(const std::string& folder);

// The folder "Vorlagen" next to the executable, ending in the path delimiter; created on
// demand at every call.
std::string TemplateFolder();

// Writes "beschreibung.txt" and "demo.txt" (always) and "leer.txt" (only when missing) into
// the folder. When a list is given, removes the paths of the first two from it. Throws
// FileCreateError when a file cannot be written.
void WriteDefaultTemplates(const std::string& folder, std::vector<std::string>* list);

// The full paths of the "*.txt" files in the folder, ordered by name compared as upper case,
// without the description and demo files; writes the default files.
void ListTemplateFiles(std::vector<std::string>& list, const std::string& folder);

// Loads the file's lines into the rules; a missing file leaves them empty. A file that
// cannot be read is tried again every 100 ms, 100 attempts in all; the last error is thrown.
void LoadTextWithRetry(TemplateRules& rules, const std::string& path,
                       Sleeper& sleeper = SystemSleeper());

}  // namespace zw
