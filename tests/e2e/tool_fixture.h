#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "stub_server.h"
#include "support/child_process.h"
#include "support/clipboard_reader_win32.h"
#include "support/temp_folder.h"

namespace zw::e2e {

using test::PlacedFormat;

// The driver plays the order application: it serves the exchange pipe (answering
// SERVERPROCESS with its own process ID), lists it in the server list file, starts
// Zwischenablage.exe from a scratch folder as its child and works the real clipboard.
class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Options of the exchange server; call before StartTool.
  StubOptions& Server() { return server_options_; }
  void AddTemplate(const std::string& name, const std::string& rules);
  // How StartTool knows that the tool watches the clipboard.
  enum class Readiness {
    // A probe text is copied until a run of the tool asks for the tax, and that run has ended
    // (its flash shows); requests are counted from then on.
    ProvenByARun,
    // Only the window is shown, which the tool does after it registered for changes; for a
    // test whose first copy must meet nothing else (it copies until the tool reads it).
    WindowShown,
  };
  // Starts the server and the tool and waits until the tool has selected the server and, as
  // readiness says, watches the clipboard.
  void StartTool(Readiness readiness = Readiness::ProvenByARun);
  // Ends the exchange server while the tool keeps running.
  void StopServer();
  // The tool has started a program of its own (the explorer of "E").
  bool ToolStartedAProgram() const;
  // Ends what the tool started (an explorer window that appeared too late to be closed).
  void EndProgramsStartedByTheTool();
  // The files the tool opened in Notepad, in order. A stand-in "notepad.exe" in the tool's
  // folder, which the tool finds before the system's, notes them instead of showing a window.
  std::vector<std::string> NotepadFiles() const;

  // Puts text on the clipboard as another program would; returns when it is there.
  void CopyText(const std::string& text);
  // Copies the text and waits until the tool has read it (its run asks for the tax). A change
  // the tool cannot open within its few attempts is lost, as it must be; under load Wine's
  // bridge to the X11 clipboard can hold the clipboard that long, so the text is copied once
  // more then.
  bool CopyTextUntilRead(const std::string& text);
  // Copies the text and opens the clipboard again at once, before the tool can react to the
  // change, and holds it for the time.
  void CopyTextAndHold(const std::string& text, std::chrono::milliseconds hold);
  std::vector<PlacedFormat> ClipboardFormats();
  // Only the CF_TEXT bytes up to the terminating zero (no synthesised formats are read).
  std::string ClipboardText();
  HWND ClipboardOwner() const { return GetClipboardOwner(); }
  HWND DriverWindow() const { return driver_window_; }

  // The number of requests of a command the server has received since the tool was ready
  // (every conversion run asks "TAXH" first, so its count is the number of runs).
  int Requests(const std::string& command) const;
  bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) const;
  // Waits as a program with a window does: answering what is sent to the driver's window.
  // Wine asks the clipboard owner's window before a clipboard read; a driver that only slept
  // would hold the tool's first read for five seconds.
  static void Pause(std::chrono::milliseconds span);
  // The panel shows the idle colour again (a flash before has ended).
  bool WaitForIdlePanel();

  // What the tool should place for a text: the same code with the same settings.
  std::vector<std::string> ExpectedBlocks(const std::string& text);
  // Waits until the tool has placed the order lines of the text in its four formats, byte for
  // byte as ExpectedBlocks gives them.
  ::testing::AssertionResult WaitForLinesOf(const std::string& text,
                                            std::chrono::milliseconds timeout);
  // Waits until the tool has placed its four formats, each beginning with the given block
  // (the rest of a memory block is zero bytes).
  ::testing::AssertionResult WaitForBlocks(const std::vector<std::string>& expected,
                                           std::chrono::milliseconds timeout);
  // Waits until the tool owns the clipboard with order lines in its four formats, whatever
  // they hold.
  bool WaitForToolLines(std::chrono::milliseconds timeout);
  // Proves that nothing the tool was told of before started a run of its own: copies a
  // sentinel text that a template of its own converts, waits until its lines are placed and
  // returns the runs counted since runs_before; 1 when only the sentinel ran, 0 when its
  // lines did not come.
  int RunsUntilSentinelConverted(int runs_before);

  HWND ToolWindow() const { return tool_window_; }
  // The tool's process still runs and its window is there.
  bool ToolRunning() const;
  // The tool's peak working set so far, in bytes (0 when it cannot be read).
  std::size_t ToolPeakMemory() const;
  // StartTool, then takes the tool's peak after its start as the baseline of PeakGrowth.
  void StartMeasured(Readiness readiness = Readiness::ProvenByARun);
  std::size_t PeakBaseline() const { return peak_baseline_; }
  // The tool's peak so far above its peak after the start.
  std::size_t PeakGrowth() const;
  // The tool's message box with the caption "Zwischenablage", waited for; nullptr if none came.
  HWND WaitForMessageBox(std::chrono::milliseconds timeout) const;
  // Waits for the tool's message box, expects the message and presses OK.
  void ExpectReport(const std::string& message, std::chrono::milliseconds timeout);
  // The panel colour on the screen now; PanelWatch samples it without pause.
  std::uint32_t PanelColour() const;
  const std::string& ToolFolder() const { return tool_folder_.Path(); }
  std::string OutDataFile() const { return tool_folder_.Path() + "outdata.txt"; }

  static constexpr const char* kTax = "7,5";

 private:
  test::TempFolder tool_folder_;
  StubOptions server_options_;
  std::unique_ptr<ExchangeStub> server_;
  std::atomic<bool> stop_server_{false};
  std::thread server_thread_;
  std::unique_ptr<test::ChildProcess> tool_;
  HWND tool_window_ = nullptr;
  HANDLE tool_process_ = nullptr;
  DWORD tool_process_id_ = 0;
  std::size_t peak_baseline_ = 0;
  HWND driver_window_ = nullptr;
  std::map<std::string, std::int64_t> requests_before_ready_;
  int sentinels_ = 0;
};

}  // namespace zw::e2e
