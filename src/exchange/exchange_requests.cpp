#include "exchange/exchange_requests.h"

#include <mutex>

#include "base/file_lines.h"
#include "base/file_system.h"
#include "exchange/ipc_client.h"

namespace zw {
namespace {

constexpr int kAttempts = 3;
constexpr std::chrono::milliseconds kAttemptPause{50};
constexpr char kServerProcessSeparator = '\b';

std::mutex& SelectedServerLock() {
  static std::mutex lock;
  return lock;
}

std::string& SelectedServerStorage() {
  static std::string name;
  return name;
}

std::string ChosenServer() {
  std::string selected = SelectedServerName();
  return selected.empty() ? DefaultServerName() : selected;
}

// The server list's lines; a missing file has none.
std::vector<std::string> ServerListLines() {
  return ReadLinesWithRetry(ServerListFile(), *ExchangeConfiguration().ListReadPauses);
}

MessageRef RequestMessage(const std::string& command, int index, const std::string& data,
                          bool sync) {
  MessageRef message = NewMessageData();
  TStreamStorage& storage = message->Storage();
  storage.WriteString("COMMAND", command);
  storage.WriteInteger("INDEX", index);
  storage.WriteString("DATA", data);
  if (sync) storage.WriteBoolean("SYNC", true);
  return message;
}

// One exchange; true when a complete response arrived.
bool Exchange(const std::string& server, const MessageRef& request, std::string* answer,
              TIPCResult& result) {
  const ExchangeSettings& settings = ExchangeConfiguration();
  TIPCClient client(*settings.Pipes);
  client.SelectServer(server);
  const MessageRef response = client.Request(request, settings.TimeoutMs);
  if (answer != nullptr) *answer = response ? response->Storage().ReadString("DATA") : "";
  result.AnswerValid = client.AnswerValid();
  result.ErrorDesc = client.LastErrorText();
  result.ComputerName = client.ComputerName();
  result.ServerName = client.ServerName();
  result.RequestSent = client.RequestSent();
  return result.AnswerValid;
}

}  // namespace

ExchangeSettings& ExchangeConfiguration() {
  static ExchangeSettings settings;
  return settings;
}

std::string ExchangeTempFolder() {
  std::string folder = ExchangeConfiguration().TempFolder;
  if (folder.empty()) folder = SystemTempFolder();
  if (folder.empty() || !IsPathDelimiter(folder.back())) folder += kPathDelimiter;
  folder += "BVTempDir";
  folder += kPathDelimiter;
  ForceDirectories(folder);
  return folder;
}

std::string ServerListFile() { return ExchangeTempFolder() + "BVA-EXCHANGELOCALSERVICE.TXT"; }

std::string DefaultServerName() {
  const std::vector<std::string> lines = ServerListLines();
  return lines.empty() ? std::string() : lines.front();
}

std::string SelectedServerName() {
  const std::lock_guard<std::mutex> guard(SelectedServerLock());
  return SelectedServerStorage();
}

void SetSelectedServerName(const std::string& name) {
  const std::lock_guard<std::mutex> guard(SelectedServerLock());
  SelectedServerStorage() = name;
}

std::vector<std::string> SplitFields(std::string_view text, char delimiter) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(delimiter, start);
    if (end == std::string_view::npos) end = text.size();
    fields.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

std::string SendExchangeRequest(const std::string& command, const std::string& server_name,
                                const std::string& data, TIPCResult& result) {
  std::string answer;
  Exchange(server_name, RequestMessage(command, -1, data, true), &answer, result);
  return answer;
}

std::string ReadIPCValueSync(const std::string& name) {
  const std::string server = ChosenServer();
  std::string answer;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    TIPCResult result;
    answer = SendExchangeRequest(name, server, "", result);
    if (result.AnswerValid) break;
    ExchangeConfiguration().Pauses->Sleep(kAttemptPause);
  }
  return answer;
}

bool WriteIPCValueASync(const std::string& data, int index, const std::string& command) {
  if (data.empty()) return false;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    TIPCResult result;
    if (Exchange(ChosenServer(), RequestMessage(command, index, data, false), nullptr, result)) {
      return true;
    }
    // A server slow to answer may still be taking the data in.
    if (result.RequestSent) return false;
    ExchangeConfiguration().Pauses->Sleep(kAttemptPause);
  }
  return false;
}

void SelectOwnServer() {
  const std::uint32_t parent = ParentProcessId();
  std::vector<std::string> answers;
  if (parent != 0) {
    const std::string parent_text = std::to_string(parent);
    for (const std::string& line : ServerListLines()) {
      TIPCResult result;
      const std::string answer = SendExchangeRequest("SERVERPROCESS", line, "", result);
      if (!answer.empty()) answers.push_back(answer);
      const std::vector<std::string> fields = SplitFields(answer, kServerProcessSeparator);
      if (fields.size() == 2 && fields[1] == parent_text) {
        // The line names the pipe; the answer's first field is only the server's own name.
        SetSelectedServerName(line);
        return;
      }
    }
  }
  if (answers.size() != 1) return;
  if (!ReadIPCValueSync("SERVERPROCESS").empty()) return;
  const std::vector<std::string> fields = SplitFields(answers.front(), kServerProcessSeparator);
  if (fields.size() == 2) SetSelectedServerName(fields.front());
}

bool IsTrueAnswer(std::string_view text) { return text == "1"; }

}  // namespace zw
