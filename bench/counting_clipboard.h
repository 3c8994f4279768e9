#pragma once

#include <cstddef>
#include <vector>

#include "orderlines/UClpUtils.h"

namespace zw::bench {

// Takes the items as the clipboard would and only counts the bytes of their blocks.
class CountingClipboard final : public ClipboardSink {
 public:
  std::size_t PutClipboardItems(const std::vector<ClipboardItem>& items) override {
    bytes = 0;
    for (const ClipboardItem& item : items) bytes += item.Stream.size() + (item.SizePrefix ? 4 : 0);
    return items.size();
  }
  std::size_t bytes = 0;
};

}  // namespace zw::bench
