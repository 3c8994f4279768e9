#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zw {

enum class OutputFormat { Lines, Text, Html, Csv, DataGrid, Json };

struct ZwconvertOptions {
  std::string InputPath = "-";  // "-": standard input
  std::string TemplatesDir;     // empty: "Vorlagen" next to the executable
  std::string Tax;
  bool TaxGiven = false;
  bool Exchange = false;   // ask the exchange server as the tool's conversion run does
  std::string ServerName;  // empty: the first server of the server list file
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  char ListSeparator = ';';
  OutputFormat Format = OutputFormat::Lines;
  bool Explain = false;
  bool Suggest = false;  // propose a template for the text instead of converting it
  bool Help = false;
  bool Version = false;
};

// Bad command line; the message says what is wrong.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The options of the arguments after the program name. Throws UsageError.
ZwconvertOptions ParseZwconvertOptions(const std::vector<std::string>& args);

extern const char* const kZwconvertUsage;
// What --version prints: the program's name and the project version, one line.
extern const char* const kZwconvertVersion;

}  // namespace zw
