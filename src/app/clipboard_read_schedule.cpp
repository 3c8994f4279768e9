#include "app/clipboard_read_schedule.h"

namespace zw {

bool ClipboardReadSchedule::RetryLater() {
  if (retries_left_ <= 0) return false;
  --retries_left_;
  return true;
}

ClipboardReadSchedule::RunScope::~RunScope() {
  if (!schedule_.dropped_during_run_) return;
  schedule_.dropped_during_run_ = false;
  // The dropped text may be the one read last: it is read once more.
  schedule_.last_read_ = 0;
  schedule_.retries_left_ = kRetries;
  try {
    reread_();
  } catch (...) {
    // Reading again is a second chance; failing it must not replace the run's own error.
  }
}

}  // namespace zw
