#include "e2e/tool_fixture.h"

#include <tlhelp32.h>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "app/regional_settings.h"
#include "app/template_loop.h"
#include "base/errors.h"
#include "base/file_system.h"
#include "e2e/fault_tools.h"
#include "exchange/exchange_requests.h"
#include "exchange/process_info.h"
#include "mapping/row_mapping.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/uDataGridLines.h"
#include "templates/template_files.h"

namespace zw::e2e {
namespace {

// Ends the processes that the given process started, and theirs. A program the tool started
// (the explorer window of "E") would otherwise outlive the test and, under Wine, keep the test
// runner's output open, so that the runner waits for it.
void EndProcessesStartedBy(DWORD parent) {
  std::vector<DWORD> parents = {parent};
  for (std::size_t next = 0; next < parents.size(); ++next) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
      if (entry.th32ParentProcessID != parents[next] || entry.th32ProcessID == parent) continue;
      parents.push_back(entry.th32ProcessID);
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)) {
        std::printf("[note] ending %s, started by the tool\n", entry.szExeFile);
        TerminateProcess(process, 1);
        CloseHandle(process);
      }
    }
    CloseHandle(snapshot);
  }
}

// The user's locale as a German user has it; the tool takes its separators at start.
void UseGermanSeparators() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  for (const auto& [name, value] :
       {std::pair{"sDecimal", ","}, std::pair{"sThousand", "."}, std::pair{"sList", ";"}}) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), 2);
  }
  RegCloseKey(key);
}

int CountIn(const std::string& counts, const std::string& command) {
  const std::string key = command + "=";
  for (std::size_t at = 0; at < counts.size();) {
    const std::size_t end = counts.find('\n', at);
    const std::string line = counts.substr(at, end == std::string::npos ? end : end - at);
    if (line.rfind(key, 0) == 0) return std::stoi(line.substr(key.size()));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return 0;
}

}  // namespace

void ToolTest::SetUp() {
  UseGermanSeparators();
  SetNumberSeparators(',', '.');
  SetListSeparator(';');
  driver_window_ = CreateWindowExA(0, "STATIC", "zw-e2e-driver", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, nullptr, nullptr);
  const std::string tool = ExecutableFolder() + "Zwischenablage.exe";
  ASSERT_TRUE(CopyFileA(tool.c_str(), (ToolFolder() + "Zwischenablage.exe").c_str(), FALSE));
  CreateDirectoryA((ToolFolder() + "Vorlagen").c_str(), nullptr);

  server_options_.ServerNames = {"zw-e2e-" + std::to_string(CurrentProcessId()) + "-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  server_options_.ProcessId = "self";  // the driver is the tool's parent
  server_options_.Answers = {{"TAXH", kTax}, {"CANPOSTJSON", "0"}};
  server_options_.CountsFile = ToolFolder() + "counts.txt";
  server_options_.OutDataFile = OutDataFile();
  server_options_.RecordFile = ToolFolder() + "frames.bin";
}

void ToolTest::TearDown() {
  if (tool_window_ != nullptr && IsWindow(tool_window_)) PostMessageA(tool_window_, WM_CLOSE, 0, 0);
  if (tool_ && tool_->Wait(std::chrono::seconds(10)) < 0) tool_->Kill();
  tool_.reset();
  if (tool_process_ != nullptr) CloseHandle(tool_process_);
  stop_server_ = true;
  if (server_thread_.joinable()) server_thread_.join();
  if (driver_window_ != nullptr) DestroyWindow(driver_window_);
  // Leaves no server of a finished test in the order application's list.
  DeleteFileA(ServerListFile().c_str());
}

void ToolTest::EndProgramsStartedByTheTool() {
  if (tool_process_id_ != 0) EndProcessesStartedBy(tool_process_id_);
}

void ToolTest::AddTemplate(const std::string& name, const std::string& rules) {
  WriteFileBytes(ToolFolder() + "Vorlagen\\" + name, rules);
}

void ToolTest::StartTool() {
  WriteFileBytes(ServerListFile(), server_options_.ServerNames.front() + "\r\n");
  server_ = std::make_unique<ExchangeStub>(server_options_);
  server_thread_ = std::thread([this] { server_->Run(stop_server_); });
  tool_ = std::make_unique<test::ChildProcess>(ToolFolder() + "Zwischenablage.exe",
                                               std::vector<std::string>{});
  ASSERT_TRUE(tool_->Started());
  ASSERT_TRUE(
      WaitFor([&] { return (tool_window_ = FindWindowA("TInMainFrm", nullptr)) != nullptr; },
              std::chrono::seconds(30)))
      << "the tool's window did not appear";
  GetWindowThreadProcessId(tool_window_, &tool_process_id_);
  tool_process_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE,
                              tool_process_id_);
  ASSERT_TRUE(WaitFor([&] { return Requests("SERVERPROCESS") >= 1; }, std::chrono::seconds(10)));
  // The viewer registers right after the server selection; give the window a moment.
  Pause(std::chrono::milliseconds(300));
}

void ToolTest::StopServer() {
  stop_server_ = true;
  if (server_thread_.joinable()) server_thread_.join();
}

void ToolTest::CopyText(const std::string& text) {
  ASSERT_TRUE(test::OpenClipboardWithRetry(driver_window_));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  char* bytes = static_cast<char*>(GlobalLock(memory));
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

bool ToolTest::CopyTextUntilRead(const std::string& text) {
  const int runs = Requests("TAXH");
  for (int attempt = 1; attempt <= 2; ++attempt) {
    CopyText(text);
    if (WaitFor([&] { return Requests("TAXH") > runs; }, std::chrono::seconds(10))) return true;
    std::printf("[note] the tool did not read a change (clipboard held elsewhere)\n");
  }
  return false;
}

void ToolTest::CopyTextAndHold(const std::string& text, std::chrono::milliseconds hold) {
  CopyText(text);
  // The window that placed the text holds it, so the text keeps its owner (a holder that goes
  // away would take its ownership with it, which Wine announces as a change).
  ASSERT_TRUE(OpenClipboard(driver_window_));
  Pause(hold);
  CloseClipboard();
}

std::vector<PlacedFormat> ToolTest::ClipboardFormats() {
  return test::ReadClipboard(driver_window_);
}

std::string ToolTest::ClipboardText() {
  std::string text;
  if (!test::OpenClipboardWithRetry(driver_window_)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
      text.assign(bytes, strnlen(bytes, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

int ToolTest::Requests(const std::string& command) const {
  try {
    return CountIn(ReadFileBytes(server_options_.CountsFile), command);
  } catch (const Error&) {
    return 0;
  }
}

bool ToolTest::WaitFor(const std::function<bool()>& condition,
                       std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Pause(std::chrono::milliseconds(10));
  }
  return true;
}

bool ToolTest::WaitForRun(int run_number) {
  if (!WaitFor([&] { return Requests("TAXH") >= run_number; }, std::chrono::seconds(20))) {
    return false;
  }
  // The run goes on after the tax: templates, hand-over, feedback.
  Pause(std::chrono::milliseconds(400));
  return true;
}

void ToolTest::Pause(std::chrono::milliseconds span) {
  const auto until = std::chrono::steady_clock::now() + span;
  for (;;) {
    // Sent messages are handled inside PeekMessage; posted ones are dispatched.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (std::chrono::steady_clock::now() >= until) return;
    // Millisecond slices rather than a message wait: under Wine that wait's time-out is
    // coarse, and the latency figures poll every millisecond.
    Sleep(1);
  }
}

std::vector<std::string> ToolTest::ExpectedBlocks(const std::string& text) {
  TExDataGridLines lines;
  TemplateLoopOptions options;
  options.Folder = ToolFolder() + "Vorlagen\\";
  const auto winner = RunTemplates(text, kTax, lines, options);
  if (!winner) return {};
  SplitLongDescriptions(lines, winner->DescriptionLimit);
  RecordingClipboard clipboard;
  lines.CopyToClipboard("", clipboard);
  std::vector<std::string> blocks;
  for (const auto& entry : clipboard.Entries()) blocks.push_back(entry.Block);
  return blocks;
}

bool ToolTest::ToolRunning() const {
  return tool_process_ != nullptr && WaitForSingleObject(tool_process_, 0) == WAIT_TIMEOUT &&
         IsWindow(tool_window_);
}

std::size_t ToolTest::ToolPeakMemory() const { return PeakWorkingSet(tool_process_); }

void ToolTest::StartMeasured() {
  StartTool();
  peak_baseline_ = ToolPeakMemory();
  ASSERT_GT(peak_baseline_, 0u) << "the tool's memory cannot be read";
}

std::size_t ToolTest::PeakGrowth() const {
  const std::size_t peak = ToolPeakMemory();
  return peak > peak_baseline_ ? peak - peak_baseline_ : 0;
}

HWND ToolTest::WaitForMessageBox(std::chrono::milliseconds timeout) const {
  HWND box = nullptr;
  WaitFor([&] { return (box = FindMessageBox(tool_process_id_, "Zwischenablage")) != nullptr; },
          timeout);
  return box;
}

::testing::AssertionResult ToolTest::WaitForLinesOf(const std::string& text,
                                                    std::chrono::milliseconds timeout) {
  const std::vector<std::string> expected = ExpectedBlocks(text);
  if (expected.size() != 4) return ::testing::AssertionFailure() << "no template fits the text";
  const char* const names[] = {"CF_DATAGRIDDATA", "HTML Format", "CF_TEXT", "CSV"};
  std::string found = "the clipboard still holds the copied text";
  const auto placed_by_tool = [&] {
    // Looked at without opening the clipboard, so the tool's own writes are not disturbed.
    const HWND owner = GetClipboardOwner();
    if (owner == nullptr || owner == driver_window_) return false;
    if (!IsClipboardFormatAvailable(RegisteredClipboardFormats().DataGrid)) return false;
    const std::vector<PlacedFormat> placed = ClipboardFormats();
    if (placed.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
      if (placed[i].Name != names[i] || placed[i].Bytes.size() < expected[i].size() ||
          placed[i].Bytes.compare(0, expected[i].size(), expected[i]) != 0) {
        found = std::string("other lines: ") + names[i] + " differs (" +
                std::to_string(placed[i].Bytes.size()) + " bytes, expected " +
                std::to_string(expected[i].size()) + ")";
        return false;
      }
    }
    return true;
  };
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!placed_by_tool()) {
    if (std::chrono::steady_clock::now() > deadline) return ::testing::AssertionFailure() << found;
    Pause(std::chrono::milliseconds(50));
  }
  return ::testing::AssertionSuccess();
}

std::uint32_t ToolTest::PanelColour() const {
  RECT bounds;
  GetWindowRect(tool_window_, &bounds);
  HDC screen = GetDC(nullptr);
  // A spot of the panel that no text, picture or button covers.
  const COLORREF colour = GetPixel(screen, bounds.left + 90, bounds.top + 40);
  ReleaseDC(nullptr, screen);
  return colour;
}

}  // namespace zw::e2e
