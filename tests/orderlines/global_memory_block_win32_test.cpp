#include "orderlines/global_memory_block_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "base/byte_buffer.h"

namespace zw {
namespace {

// The bytes of handed-over memory, as a reader of the clipboard sees them: as long as the memory.
std::string BytesOf(HGLOBAL memory) {
  const std::size_t size = GlobalSize(memory);
  const char* const bytes = static_cast<const char*>(GlobalLock(memory));
  std::string copy(bytes, size);
  GlobalUnlock(memory);
  return copy;
}

TEST(GlobalMemoryBlock, AWrittenBlockIsHandedOverExactlyAsLongAsItsBytes) {
  const std::string text(100000, 'x');
  const struct {
    std::size_t Expected;  // the room the writer makes at first
  } cases[] = {{0}, {10}, {text.size()}, {4 * text.size()}};
  for (const auto& c : cases) {
    GlobalMemoryBlock block;
    {
      BufferSink sink(block, c.Expected);
      sink.Put("Anfang ");
      sink.Put(text);
    }
    ASSERT_EQ(block.size(), 7 + text.size()) << c.Expected;
    std::memcpy(block.data(), "ANFANG", 6);
    HGLOBAL memory = block.Release();
    ASSERT_NE(memory, nullptr) << c.Expected;
    EXPECT_EQ(block.size(), 0u);
    EXPECT_EQ(BytesOf(memory), "ANFANG " + text) << c.Expected;
    GlobalFree(memory);
  }
}

TEST(GlobalMemoryBlock, AnEmptyBlockHandsOverNoMemory) {
  GlobalMemoryBlock never_written;
  EXPECT_EQ(never_written.Release(), nullptr);
  GlobalMemoryBlock emptied;
  emptied.Resize(4096);
  EXPECT_EQ(emptied.Resize(0), nullptr);
  EXPECT_EQ(emptied.Release(), nullptr);
}

TEST(GlobalMemoryBlock, ALongerBlockKeepsItsBytes) {
  GlobalMemoryBlock block;
  std::memcpy(block.Resize(3), "abc", 3);
  char* const data = block.Resize(1 << 20);
  EXPECT_EQ(std::string_view(data, 3), "abc");
  data[(1 << 20) - 1] = 'z';
  block.Resize(2);
  HGLOBAL memory = block.Release();
  EXPECT_EQ(BytesOf(memory), "ab");
  GlobalFree(memory);
}

}  // namespace
}  // namespace zw
