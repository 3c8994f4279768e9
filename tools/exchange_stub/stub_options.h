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
  // Hostile answers, each for the commands named ("*": every command). After a silent or
  // declared-only answer the stub holds the connection until the client leaves.
  std::set<std::string> Silent;                        // the request is read, nothing is answered
  std::map<std::string, std::string> CutFrame;         // "header" or "body": the answer stops there
  std::map<std::string, std::int64_t> DeclaredSize;    // this data size is sent, and no data
  std::map<std::string, std::int64_t> DeclaredIdSize;  // this ID length is sent, and no ID
  std::int64_t ByteDelayMs = 0;  // every answer byte by byte, this many milliseconds apart
  // The answer to a command waits this many milliseconds after its request was read, as an
  // order application busy with a big order or a modal dialog takes its time.
  std::map<std::string, std::int64_t> AnswerDelayMs;
  std::string CountsFile;      // "COMMAND=count" lines, rewritten after every request
  std::string RecordFile;      // every raw request frame is appended here
  std::int64_t StopAfter = 0;  // stop after this many requests (0: never)
  std::string StopFile;        // stop when this file exists
  std::string ReadyFile;       // created when every pipe listens
  bool Help = false;
};

// The entry of a hostile mode for the command: its own, else the one for "*"; null without.
template <typename Map>
const typename Map::mapped_type* HostileEntry(const Map& modes, const std::string& command) {
  auto found = modes.find(command);
  if (found == modes.end()) found = modes.find("*");
  return found == modes.end() ? nullptr : &found->second;
}
bool IsSilentFor(const StubOptions& options, const std::string& command);

// Throws std::invalid_argument with a message for bad usage.
StubOptions ParseStubOptions(const std::vector<std::string>& args);

extern const char* const kStubUsage;

}  // namespace zw
