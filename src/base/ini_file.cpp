#include "base/ini_file.h"

#include "base/integer_text.h"
#include "base/text_lines.h"
#include "base/win1252.h"

namespace zw {
namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(UpperCase1252(static_cast<unsigned char>(c)));
  return result;
}

std::string KeyOf(std::string_view section, std::string_view key) {
  return Upper(Trim(section)) + '\n' + Upper(Trim(key));
}

}  // namespace

IniFile::IniFile(std::string_view text) {
  std::string section;
  ForEachLine(text, [&](std::string_view raw) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      section =
          std::string(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    values_.try_emplace(KeyOf(section, line.substr(0, equals)), value);
  });
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
  const auto found = values_.find(KeyOf(section, key));
  return found == values_.end() ? fallback : found->second;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const auto found = values_.find(KeyOf(section, key));
  if (found == values_.end()) return fallback;
  return zw::ReadInteger(found->second).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

}  // namespace zw
