#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/sleeper.h"
#include "exchange/pipe_transport.h"
#include "exchange/process_info.h"

// Requests to the order application's exchange server over its local named pipe. Failures are
// silent: an empty answer or false.
namespace zw {

// The outcome of one request exchange.
struct TIPCResult {
  std::string ErrorDesc;     // the client's last error text, empty when no step failed
  std::string ComputerName;  // always "."
  std::string ServerName;    // the server name used
  bool AnswerValid = false;  // a complete response arrived
  bool RequestSent = false;  // the whole request frame was written
};

// How requests reach the server and wait between attempts; tests and zwconvert replace parts.
struct ExchangeSettings {
  PipeClientSystem* Pipes = &SystemPipes();
  Sleeper* Pauses = &SystemSleeper();          // the 50 ms between attempts
  Sleeper* ListReadPauses = &SystemSleeper();  // while the server list is held elsewhere
  std::uint32_t TimeoutMs = 5000;  // bounds opening the pipe and, separately, the exchange
  std::string TempFolder;          // empty: the system's temporary folder
};
ExchangeSettings& ExchangeConfiguration();

// The system's temporary folder followed by "BVTempDir" and the path delimiter; created when
// missing (a failure to create it is ignored).
std::string ExchangeTempFolder();
// The order application's list of server names, one per line.
std::string ServerListFile();
// The first line of the server list file, read anew at every call; "" without one.
std::string DefaultServerName();

// The server of the order application that started this program, once selected.
std::string SelectedServerName();
void SetSelectedServerName(const std::string& name);

// The fields of a text cut at a delimiter: none for "", no empty field after a final delimiter.
std::vector<std::string> SplitFields(std::string_view text, char delimiter);

// One exchange with a fresh client: "COMMAND", "INDEX" -1, "DATA" (when not empty), "SYNC".
std::string SendExchangeRequest(const std::string& command, const std::string& server_name,
                                const std::string& data, TIPCResult& result);

// The answer of the selected (or default) server to a value name, up to 3 attempts 50 ms
// apart; empty when no answer arrived.
std::string ReadIPCValueSync(const std::string& name);

// Posts data with "COMMAND" and "INDEX"; false when it was not answered or the data is empty.
// A new attempt (up to 3, 50 ms apart) is made only while the request frame could not be
// written whole: once the server has the request, asking again could post it twice.
bool WriteIPCValueASync(const std::string& data, int index, const std::string& command);

// Selects the server of the order application process that started this program.
void SelectOwnServer();

// The answer means yes: exactly "1".
bool IsTrueAnswer(std::string_view text);

}  // namespace zw
