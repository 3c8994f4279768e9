#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace zw {

// An INI text as Windows reads it: "[section]" lines and "key=value" lines, section and key
// names compared case-insensitively, blanks around names and values trimmed, one pair of
// surrounding quotes removed from a value. The first occurrence of a key wins.
class IniFile {
 public:
  explicit IniFile(std::string_view text);

  std::string ReadString(std::string_view section, std::string_view key,
                         const std::string& fallback) const;
  // A value that is not an integer gives the fallback.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // Read as an integer: non-zero is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

 private:
  std::unordered_map<std::string, std::string> values_;  // "SECTION\nKEY" -> value
};

}  // namespace zw
