// ServerListLock on Windows: a handle opened without any sharing, so every other open fails
// with a sharing violation until it is closed.
#include <windows.h>

#include "exchange/server_list_lock.h"

namespace zw::test {

struct ServerListLock::Impl {
  HANDLE handle = INVALID_HANDLE_VALUE;
};

ServerListLock::ServerListLock(const std::string& path) : impl_(std::make_unique<Impl>()) {
  impl_->handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
}

ServerListLock::~ServerListLock() { Release(); }

bool ServerListLock::Held() const { return impl_->handle != INVALID_HANDLE_VALUE; }

void ServerListLock::Release() {
  if (Held()) CloseHandle(impl_->handle);
  impl_->handle = INVALID_HANDLE_VALUE;
}

}  // namespace zw::test
