#include "e2e/tool_fixture.h"

#include <tlhelp32.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

#include "app/console_host.h"
#include "app/feedback_colours.h"
#include "base/errors.h"
#include "base/file_system.h"
#include "e2e/fault_tools.h"
#include "e2e/panel_watch.h"
#include "exchange/exchange_requests.h"
#include "exchange/process_info.h"
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

bool HasProcessStartedBy(DWORD parent) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !found;
       more = Process32Next(snapshot, &entry)) {
    found = entry.th32ParentProcessID == parent && entry.th32ProcessID != parent;
  }
  CloseHandle(snapshot);
  return found;
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

// A text that no template of the tests fits: its run only asks for the tax and flashes grey.
constexpr const char* kProbeText = "zw-e2e: bereit?\r\n";

// A template of its own converts the sentinel texts and nothing else.
constexpr const char* kSentinelTemplate = "zzz_kontrolle.txt";
constexpr const char* kSentinelRules =
    "Quantity=A\r\nDescription1=B\r\nPrice=C\r\nMustContaintsLine=Kontrolle\r\n";

}  // namespace

void ToolTest::SetUp() {
  UseGermanSeparators();
  driver_window_ = CreateWindowExA(0, "STATIC", "zw-e2e-driver", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, nullptr, nullptr);
  const std::string tool = ExecutableFolder() + "Zwischenablage.exe";
  ASSERT_TRUE(CopyFileA(tool.c_str(), (ToolFolder() + "Zwischenablage.exe").c_str(), FALSE));
  const std::string notepad = ExecutableFolder() + "zw_notepad_stand_in.exe";
  ASSERT_TRUE(CopyFileA(notepad.c_str(), (ToolFolder() + "notepad.exe").c_str(), FALSE));
  CreateDirectoryA((ToolFolder() + "Vorlagen").c_str(), nullptr);

  server_options_.ServerNames = {"zw-e2e-" + std::to_string(CurrentProcessId()) + "-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  server_options_.ProcessId = "self";  // the driver is the tool's parent
  server_options_.Answers = {{"TAXH", kTax}, {"CANPOSTJSON", "0"}};
  server_options_.OutDataFile = OutDataFile();
  server_options_.RecordFile = ToolFolder() + "frames.bin";
}

void ToolTest::TearDown() {
  if (tool_window_ != nullptr && IsWindow(tool_window_)) PostMessageA(tool_window_, WM_CLOSE, 0, 0);
  // The tool has handled its close once its window is gone; under Wine its process then takes
  // seconds more to wind down, which no test looks at, so it is ended at once.
  if (tool_window_ != nullptr && tool_ &&
      WaitFor([&] { return !IsWindow(tool_window_); }, std::chrono::seconds(30))) {
    tool_->Kill();
  }
  if (tool_ && tool_->Wait(std::chrono::seconds(10)) < 0) tool_->Kill();
  tool_.reset();
  if (tool_process_ != nullptr) CloseHandle(tool_process_);
  stop_server_ = true;
  if (server_thread_.joinable()) server_thread_.join();
  if (driver_window_ != nullptr) DestroyWindow(driver_window_);
  // Leaves no server of a finished test in the order application's list.
  DeleteFileA(ServerListFile().c_str());
}

bool ToolTest::ToolStartedAProgram() const {
  return tool_process_id_ != 0 && HasProcessStartedBy(tool_process_id_);
}

void ToolTest::EndProgramsStartedByTheTool() {
  if (tool_process_id_ != 0) EndProcessesStartedBy(tool_process_id_);
}

std::vector<std::string> ToolTest::NotepadFiles() const {
  std::vector<std::string> files;
  std::string calls;
  try {
    calls = ReadFileBytes(ToolFolder() + "notepad-calls.txt");
  } catch (const Error&) {
    return files;
  }
  // Only complete lines: the stand-in may be writing the last one.
  for (std::size_t at = 0, end; (end = calls.find("\r\n", at)) != std::string::npos; at = end + 2)
    files.push_back(calls.substr(at, end - at));
  return files;
}

void ToolTest::AddTemplate(const std::string& name, const std::string& rules) {
  WriteFileBytes(ToolFolder() + "Vorlagen\\" + name, rules);
}

void ToolTest::StartTool(Readiness readiness) {
  WriteFileBytes(ServerListFile(), server_options_.ServerNames.front() + "\r\n");
  server_ = std::make_unique<ExchangeStub>(server_options_);
  server_thread_ = std::thread([this] { server_->Run(stop_server_); });
  // Under Wine the image of the previous test's tool, just ended, can still be held for a
  // moment, and the start fails; it succeeds once the image is free.
  unsigned long start_error = 0;
  WaitFor(
      [&] {
        tool_ = std::make_unique<test::ChildProcess>(ToolFolder() + "Zwischenablage.exe",
                                                     std::vector<std::string>{});
        start_error = tool_->StartError();
        return tool_->Started();
      },
      std::chrono::seconds(10));
  ASSERT_TRUE(tool_->Started()) << "the tool could not be started, error " << start_error;
  ASSERT_TRUE(
      WaitFor([&] { return (tool_window_ = FindWindowA("TInMainFrm", nullptr)) != nullptr; },
              std::chrono::seconds(30)))
      << "the tool's window did not appear";
  GetWindowThreadProcessId(tool_window_, &tool_process_id_);
  tool_process_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE,
                              tool_process_id_);
  ASSERT_TRUE(
      WaitFor([&] { return server_->Counts()["SERVERPROCESS"] >= 1; }, std::chrono::seconds(30)));
  // The tool shows its window once it has registered for clipboard changes.
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(tool_window_) != 0; }, std::chrono::seconds(30)))
      << "the tool's window was not shown";
  if (readiness == Readiness::WindowShown) return;

  const PanelWatch panel(tool_window_);
  ASSERT_TRUE(CopyTextUntilRead(kProbeText)) << "the tool does not watch the clipboard";
  // Every run ends with a flash, grey here; the tool is idle for the test then.
  ASSERT_TRUE(WaitFor([&] { return panel.Saw(NoMatchColour) || panel.Saw(SuccessColour); },
                      std::chrono::seconds(30)))
      << "the probe's run did not end";
  requests_before_ready_ = server_->Counts();
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
  for (int attempt = 1; attempt <= 3; ++attempt) {
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
  if (!server_) return 0;
  const auto counts = server_->Counts();
  const auto now = counts.find(command);
  const auto before = requests_before_ready_.find(command);
  return static_cast<int>((now == counts.end() ? 0 : now->second) -
                          (before == requests_before_ready_.end() ? 0 : before->second));
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

bool ToolTest::WaitForIdlePanel() {
  return WaitFor([&] { return PanelColour() == IdleColour; }, std::chrono::seconds(30));
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
  // The tool's own run, offline: the separators it takes from the German locale set above and
  // the tax the driver answers; the lines it would place, block by block.
  std::vector<std::string> blocks;
  ConsoleHostOptions options;
  options.Folder = ToolFolder() + "Vorlagen\\";
  options.NumberSeparators = Separators{',', '.', ';'};
  options.Tax = kTax;
  options.OnDelivered = [&](const TExDataGridLines& lines) {
    for (std::size_t index = 0; index < TDataGridLines::kClipboardItemCount; ++index) {
      blocks.push_back(lines.ClipboardItemAt(index, "").Block.str());
    }
  };
  ConsoleHost host(std::move(options));
  ConversionRun().Run(host, text);
  return blocks;
}

bool ToolTest::ToolRunning() const {
  return tool_process_ != nullptr && WaitForSingleObject(tool_process_, 0) == WAIT_TIMEOUT &&
         IsWindow(tool_window_);
}

std::size_t ToolTest::ToolPeakMemory() const { return PeakWorkingSet(tool_process_); }

void ToolTest::StartMeasured(Readiness readiness) {
  ASSERT_NO_FATAL_FAILURE(StartTool(readiness));
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

void ToolTest::ExpectReport(const std::string& message, std::chrono::milliseconds timeout) {
  const HWND box = WaitForMessageBox(timeout);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(MessageBoxText(box), message);
  PressOk(box);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, std::chrono::seconds(30)));
}

::testing::AssertionResult ToolTest::WaitForLinesOf(const std::string& text,
                                                    std::chrono::milliseconds timeout) {
  const std::vector<std::string> expected = ExpectedBlocks(text);
  if (expected.size() != 4) return ::testing::AssertionFailure() << "no template fits the text";
  return WaitForBlocks(expected, timeout);
}

::testing::AssertionResult ToolTest::WaitForBlocks(const std::vector<std::string>& expected,
                                                   std::chrono::milliseconds timeout) {
  const char* const names[] = {"CF_DATAGRIDDATA", "HTML Format", "CF_TEXT", "CSV"};
  if (expected.size() != 4) return ::testing::AssertionFailure() << "not four blocks expected";
  std::string found = "the clipboard still holds the copied text";
  const auto placed_by_tool = [&] {
    // Looked at without opening the clipboard, so the tool's own writes are not disturbed.
    const HWND owner = GetClipboardOwner();
    if (owner == nullptr || owner == driver_window_) return false;
    if (!IsClipboardFormatAvailable(RegisteredClipboardFormats().DataGrid)) return false;
    const std::vector<PlacedFormat> placed = ClipboardFormats();
    if (placed.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
      const std::string& bytes = placed[i].Bytes;
      const bool same = placed[i].Name == names[i] && bytes.size() >= expected[i].size() &&
                        bytes.compare(0, expected[i].size(), expected[i]) == 0 &&
                        bytes.find_first_not_of('\0', expected[i].size()) == std::string::npos;
      if (!same) {
        found = std::string("other lines: ") + names[i] + " differs (" +
                std::to_string(bytes.size()) + " bytes, expected " +
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

bool ToolTest::WaitForToolLines(std::chrono::milliseconds timeout) {
  return WaitFor(
      [&] {
        const HWND owner = GetClipboardOwner();
        if (owner == nullptr || owner == driver_window_) return false;
        if (!IsClipboardFormatAvailable(RegisteredClipboardFormats().DataGrid)) return false;
        const std::vector<PlacedFormat> placed = ClipboardFormats();
        return placed.size() >= 4 && placed[0].Name == "CF_DATAGRIDDATA";
      },
      timeout);
}

int ToolTest::RunsUntilSentinelConverted(int runs_before) {
  AddTemplate(kSentinelTemplate, kSentinelRules);
  const std::string description = "Kontrolle " + std::to_string(++sentinels_);
  const std::string text = "1\t" + description + "\t2\r\n";
  if (!CopyTextUntilRead(text)) return 0;
  // Its key text names the description; the lines of the sentinel, not an older copy's.
  const std::string key = "=" + description + "\r\n";
  const bool converted = WaitFor(
      [&] {
        const HWND owner = GetClipboardOwner();
        if (owner == nullptr || owner == driver_window_) return false;
        if (!IsClipboardFormatAvailable(RegisteredClipboardFormats().DataGrid)) return false;
        return ClipboardText().find(key) != std::string::npos;
      },
      std::chrono::seconds(60));
  return converted ? Requests("TAXH") - runs_before : 0;
}

std::uint32_t ToolTest::PanelColour() const { return PanelColourOf(tool_window_); }

}  // namespace zw::e2e
