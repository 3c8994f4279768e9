#include "app/last_copy_files.h"

#include "base/file_system.h"
#include "base/new_file.h"
#include "base/text_lines.h"
#include "proposal/template_proposal.h"

namespace zw {

std::string WriteExplanationFile(const std::string& folder, std::string_view report) {
  // Notepad of older Windows versions shows a lone LF as no line break at all.
  std::string text;
  text.reserve(report.size() + report.size() / 16);
  ForEachLine(report, [&](std::string_view line) {
    text += line;
    text += "\r\n";
  });
  const std::string path = folder + "Zwischenablage-Erklaerung.txt";
  WriteFileBytes(path, text);
  return path;
}

std::string SaveTemplateProposal(const std::string& template_folder, std::string_view text,
                                 const Separators& separators) {
  const TemplateProposal proposal = ProposeTemplate(text, separators);
  return SaveAsNewFile(template_folder, "Vorschlag", ".txt", proposal.Text);
}

}  // namespace zw
