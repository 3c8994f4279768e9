#include "stub_options.h"

#include <stdexcept>

namespace zw {

const char* const kStubUsage =
    "Usage: exchange-stub [OPTIONS] NAME...\n"
    "A stand-in for the order application's exchange server: serves the pipe of every NAME,\n"
    "one connection after another, and answers SERVERPROCESS, TAXH, CANPOSTJSON and OUTDATA.\n"
    "\n"
    "  --list-file PATH       server list file to add the names to and remove them from at exit\n"
    "                         (default: BVA-EXCHANGELOCALSERVICE.TXT in the exchange temp folder)\n"
    "  --no-list              leave the server list file alone\n"
    "  --pid parent|self|N    process ID in SERVERPROCESS answers (default: parent)\n"
    "  --answer CMD=TEXT      answer for a command (defaults: TAXH=19, CANPOSTJSON=1)\n"
    "  --repeat CMD=N         answer CMD with its text repeated N times (long answers)\n"
    "  --no-data CMD          answer CMD without a DATA value\n"
    "  --outdata FILE         append every OUTDATA payload to FILE\n"
    "  --fail-outdata         close OUTDATA connections without an answer\n"
    "  --silent CMD           read CMD's request and answer nothing (CMD \"*\": every command)\n"
    "  --close-mid-frame CMD=header|body\n"
    "                         answer CMD with a frame cut off in its ID length or in its data,\n"
    "                         then close the connection\n"
    "  --declare-size CMD=N   answer CMD with the data size N (may be negative) and no data\n"
    "  --declare-id-size CMD=N\n"
    "                         answer CMD with the ID length N (may be negative) and no ID\n"
    "  --byte-delay MS        send every answer byte by byte, MS milliseconds apart\n"
    "  --answer-delay CMD:MS  answer CMD only MS milliseconds after its request was read\n"
    "  --counts FILE          write COMMAND=count lines to FILE after every request\n"
    "  --record FILE          append every raw request frame to FILE\n"
    "  --stop-after N         stop after N requests\n"
    "  --stop-file PATH       stop as soon as PATH exists\n"
    "  --ready-file PATH      create PATH once every pipe is listening\n"
    "  --help                 this text\n";

namespace {

std::pair<std::string, std::string> KeyValue(const std::string& option, const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) {
    throw std::invalid_argument(option + " expects CMD=VALUE: " + text);
  }
  return {text.substr(0, equals), text.substr(equals + 1)};
}

std::int64_t Number(const std::string& option, const std::string& text) {
  std::size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || value < 0) {
    throw std::invalid_argument(option + " expects a number: " + text);
  }
  return value;
}

// A frame length as sent, so also negative and far beyond any bound.
std::int64_t SignedNumber(const std::string& option, const std::string& text) {
  std::size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size()) {
    throw std::invalid_argument(option + " expects a number: " + text);
  }
  return value;
}

}  // namespace

bool IsSilentFor(const StubOptions& options, const std::string& command) {
  return options.Silent.count(command) != 0 || options.Silent.count("*") != 0;
}

StubOptions ParseStubOptions(const std::vector<std::string>& args) {
  StubOptions options;
  std::map<std::string, std::int64_t> repeats;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw std::invalid_argument(arg + " expects a value");
      return args[++i];
    };
    if (arg == "--list-file") {
      options.ListFile = value();
    } else if (arg == "--no-list") {
      options.UseListFile = false;
    } else if (arg == "--pid") {
      options.ProcessId = value();
      if (options.ProcessId != "parent" && options.ProcessId != "self") {
        Number(arg, options.ProcessId);
      }
    } else if (arg == "--answer") {
      auto [command, text] = KeyValue(arg, value());
      options.Answers[command] = text;
    } else if (arg == "--repeat") {
      auto [command, count] = KeyValue(arg, value());
      repeats[command] = Number(arg, count);
    } else if (arg == "--no-data") {
      options.WithoutData.insert(value());
    } else if (arg == "--outdata") {
      options.OutDataFile = value();
    } else if (arg == "--fail-outdata") {
      options.FailOutData = true;
    } else if (arg == "--silent") {
      options.Silent.insert(value());
    } else if (arg == "--close-mid-frame") {
      auto [command, part] = KeyValue(arg, value());
      if (part != "header" && part != "body") {
        throw std::invalid_argument(arg + " expects CMD=header or CMD=body: " + part);
      }
      options.CutFrame[command] = part;
    } else if (arg == "--declare-size") {
      auto [command, size] = KeyValue(arg, value());
      options.DeclaredSize[command] = SignedNumber(arg, size);
    } else if (arg == "--declare-id-size") {
      auto [command, size] = KeyValue(arg, value());
      options.DeclaredIdSize[command] = SignedNumber(arg, size);
    } else if (arg == "--byte-delay") {
      options.ByteDelayMs = Number(arg, value());
    } else if (arg == "--answer-delay") {
      const std::string& text = value();
      const std::size_t colon = text.find(':');
      if (colon == std::string::npos || colon == 0) {
        throw std::invalid_argument(arg + " expects CMD:MS: " + text);
      }
      options.AnswerDelayMs[text.substr(0, colon)] = Number(arg, text.substr(colon + 1));
    } else if (arg == "--counts") {
      options.CountsFile = value();
    } else if (arg == "--record") {
      options.RecordFile = value();
    } else if (arg == "--stop-after") {
      options.StopAfter = Number(arg, value());
    } else if (arg == "--stop-file") {
      options.StopFile = value();
    } else if (arg == "--ready-file") {
      options.ReadyFile = value();
    } else if (arg == "--help") {
      options.Help = true;
    } else if (!arg.empty() && arg.front() == '-') {
      throw std::invalid_argument("unknown option " + arg);
    } else {
      options.ServerNames.push_back(arg);
    }
  }
  for (const auto& [command, count] : repeats) {
    std::string repeated;
    for (std::int64_t n = 0; n < count; ++n) repeated += options.Answers[command];
    options.Answers[command] = repeated;
  }
  if (options.ServerNames.empty() && !options.Help) {
    throw std::invalid_argument("no server NAME given");
  }
  return options;
}

}  // namespace zw
