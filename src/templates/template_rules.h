#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zw {

// The lines of one template file. A rule line is key "=" value: the key is the text before
// the first "=", the value everything after it, verbatim. Keys are found case-insensitively
// without trimming; the first matching line wins and a missing key reads as "".
class TemplateRules {
 public:
  TemplateRules() = default;
  explicit TemplateRules(std::vector<std::string> lines);

  void Assign(std::vector<std::string> lines);
  void Clear();

  const std::vector<std::string>& Lines() const { return lines_; }
  std::size_t LineCount() const { return lines_.size(); }

  std::string Value(std::string_view key) const;

 private:
  std::vector<std::string> lines_;
  // Upper-cased key -> index of its first line; lookups stay fast for huge files.
  std::unordered_map<std::string, std::size_t> first_line_of_key_;
};

}  // namespace zw
