#include "templates/template_rules.h"

namespace zw {
namespace {

std::string UpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return result;
}

}  // namespace

TemplateRules::TemplateRules(std::vector<std::string> lines) { Assign(std::move(lines)); }

void TemplateRules::Assign(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  first_line_of_key_.clear();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::size_t equals = lines_[i].find('=');
    if (equals == std::string::npos) continue;
    first_line_of_key_.try_emplace(UpperAscii(std::string_view(lines_[i]).substr(0, equals)), i);
  }
}

void TemplateRules::Clear() { Assign({}); }

std::string TemplateRules::Value(std::string_view key) const {
  const auto found = first_line_of_key_.find(UpperAscii(key));
  if (found == first_line_of_key_.end()) return {};
  const std::string& line = lines_[found->second];
  return line.substr(line.find('=') + 1);
}

}  // namespace zw
