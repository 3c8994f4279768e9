#pragma once

#include <cstdint>
#include <functional>

// When the main window reads the clipboard after a change: once per content, again later while
// another program holds it, and again after a run during which a change was dropped.
namespace zw {

class ClipboardReadSchedule {
 public:
  // Clipboard history, clipboard managers and remote desktops open the clipboard right after
  // a change; the read is tried again every 50 ms for up to 2 s, the message loop running.
  static constexpr unsigned kRetryIntervalMs = 50;
  static constexpr int kRetries = 40;

  // A change was announced: the read gets its full time again.
  void Announced() { retries_left_ = kRetries; }
  // The content of this sequence number was read already (0: the system keeps none).
  bool AlreadyRead(std::uint32_t sequence) const { return sequence != 0 && sequence == last_read_; }
  void Read(std::uint32_t sequence) {
    last_read_ = sequence;
    retries_left_ = 0;
  }
  // The clipboard was held elsewhere: true when the read is to be tried once more after the
  // interval, false when the change is given up.
  bool RetryLater();

  // A text read while a run was under way was dropped by the run.
  void DroppedDuringRun() { dropped_during_run_ = true; }

  // Lives for one run: however the run ends, also by an error, a text dropped during it is
  // read again afterwards through reread.
  class RunScope {
   public:
    RunScope(ClipboardReadSchedule& schedule, std::function<void()> reread)
        : schedule_(schedule), reread_(std::move(reread)) {}
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

   private:
    ClipboardReadSchedule& schedule_;
    std::function<void()> reread_;
  };

 private:
  std::uint32_t last_read_ = 0;
  int retries_left_ = 0;
  bool dropped_during_run_ = false;
};

}  // namespace zw
