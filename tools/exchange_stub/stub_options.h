#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zw {

// What the substitute exchange server serves and how it behaves.
struct StubOptions {
  std::vector<std::string> ServerNames;
  std::string ListFile;  // empty: the exchange temp folder's server list
  bool UseListFile = true;
  std::string ProcessId = "parent";  // "parent", "self" or a number
  std::map<std::string, std::string> Answers = {{"TAXH", "19"}, {"CANPOSTJSON", "1"}};
  std::set<std::string> WithoutData;  // commands answered without a "DATA" value
  std::string OutDataFile;            // each OUTDATA payload is appended here
  bool FailOutData = false;           // OUTDATA connections are closed without an answer
  std::string CountsFile;             // "COMMAND=count" lines, rewritten after every request
  std::string RecordFile;             // every raw request frame is appended here
  std::int64_t StopAfter = 0;         // stop after this many requests (0: never)
  std::string StopFile;               // stop when this file exists
  std::string ReadyFile;              // created when every pipe listens
  bool Help = false;
};

// Throws std::invalid_argument with a message for bad usage.
StubOptions ParseStubOptions(const std::vector<std::string>& args);

extern const char* const kStubUsage;

}  // namespace zw
