#include "app/clipboard_read_schedule.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/errors.h"

namespace zw {
namespace {

TEST(ClipboardReadSchedule, ReadsEachContentOnce) {
  ClipboardReadSchedule schedule;
  schedule.Announced();
  EXPECT_FALSE(schedule.AlreadyRead(7));
  schedule.Read(7);
  EXPECT_TRUE(schedule.AlreadyRead(7));
  EXPECT_FALSE(schedule.AlreadyRead(8));
  // Without sequence numbers every change is read.
  schedule.Read(0);
  EXPECT_FALSE(schedule.AlreadyRead(0));
}

TEST(ClipboardReadSchedule, RetriesAHeldClipboardForTwoSeconds) {
  ClipboardReadSchedule schedule;
  schedule.Announced();
  int retries = 0;
  while (schedule.RetryLater()) ++retries;
  EXPECT_EQ(retries * ClipboardReadSchedule::kRetryIntervalMs, 2000u);
  // A new change while the clipboard is held gets its full time again.
  schedule.Announced();
  EXPECT_TRUE(schedule.RetryLater());
  // Once read, nothing is retried.
  schedule.Read(3);
  EXPECT_FALSE(schedule.RetryLater());
}

TEST(ClipboardReadSchedule, ATextDroppedDuringARunIsReadAgainAfterIt) {
  for (const bool run_fails : {false, true}) {
    ClipboardReadSchedule schedule;
    schedule.Read(5);
    int rereads = 0;
    try {
      const ClipboardReadSchedule::RunScope scope(schedule, [&] { ++rereads; });
      schedule.DroppedDuringRun();
      if (run_fails)
        throw Error(
            "Datei x kann nicht ge\xF6"
            "ffnet werden");
    } catch (const Error&) {
    }
    EXPECT_EQ(rereads, 1) << run_fails;
    // The content read last is read again, with the full time for a held clipboard.
    EXPECT_FALSE(schedule.AlreadyRead(5)) << run_fails;
    EXPECT_TRUE(schedule.RetryLater()) << run_fails;
  }
}

TEST(ClipboardReadSchedule, ARunWithoutDroppedTextReadsNothingAgain) {
  ClipboardReadSchedule schedule;
  schedule.Read(5);
  int rereads = 0;
  {
    const ClipboardReadSchedule::RunScope scope(schedule, [&] { ++rereads; });
  }
  EXPECT_EQ(rereads, 0);
  EXPECT_TRUE(schedule.AlreadyRead(5));
}

TEST(ClipboardReadSchedule, AFailingRereadDoesNotReplaceTheRunsError) {
  ClipboardReadSchedule schedule;
  const auto run = [&] {
    const ClipboardReadSchedule::RunScope scope(schedule,
                                                [] { throw std::runtime_error("reread"); });
    schedule.DroppedDuringRun();
    throw Error("run");
  };
  EXPECT_THROW(run(), Error);
}

}  // namespace
}  // namespace zw
