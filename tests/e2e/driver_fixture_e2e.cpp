// The driver itself: while it waits it must answer what other programs send to its window, as
// the spreadsheet it stands for does. Wine sends the clipboard owner's window a message before
// a clipboard read, so a driver that does not answer holds up the tool it measures.
#include <atomic>
#include <thread>

#include "e2e/tool_fixture.h"

namespace zw::e2e {
namespace {

using DriverFixture = ToolTest;

TEST_F(DriverFixture, AnswersMessagesSentToItsWindowWhileWaiting) {
  std::atomic<int> answered{0};  // 1: answered, -1: the send failed or timed out
  std::thread sender([&] {
    DWORD_PTR result = 0;
    answered =
        SendMessageTimeoutA(DriverWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) ? 1 : -1;
  });
  const bool settled = WaitFor([&] { return answered != 0; }, std::chrono::seconds(60));
  sender.join();
  EXPECT_TRUE(settled);
  EXPECT_EQ(answered, 1) << "the driver did not answer a message sent to its window";
}

}  // namespace
}  // namespace zw::e2e
