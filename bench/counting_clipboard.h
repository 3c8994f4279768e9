#pragma once

#include <cstddef>

#include "orderlines/UClpUtils.h"

namespace zw::bench {

// Takes the items one at a time as the system clipboard does, each written into fresh memory
// that the clipboard would then own, and only counts the bytes of their blocks.
class CountingClipboard final : public ClipboardSink {
 public:
  std::size_t PutClipboardItems(const ClipboardItemSource& items) override {
    bytes = 0;
    for (std::size_t index = 0; index < items.ItemCount(); ++index) {
      ByteBuffer block;
      items.WriteItem(index, block);
      bytes += block.size();
    }
    return items.ItemCount();
  }
  std::size_t bytes = 0;
};

}  // namespace zw::bench
