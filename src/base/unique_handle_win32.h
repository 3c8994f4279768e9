#pragma once

#include <windows.h>

#include <memory>

// A kernel handle closed by its one owner.
namespace zw {

struct HandleCloser {
  void operator()(HANDLE handle) const {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

}  // namespace zw
