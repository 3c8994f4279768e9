// ServerListLock without mandatory locks: the file is moved aside and its name becomes a link
// to /proc/self/mem, a file that exists and opens but fails every read from its start (also
// for root, whom permissions do not stop). Release moves the file back.
#include <unistd.h>

#include <cstdio>

#include "exchange/server_list_lock.h"

namespace zw::test {

struct ServerListLock::Impl {
  std::string path;
  bool held = false;
};

ServerListLock::ServerListLock(const std::string& path) : impl_(std::make_unique<Impl>()) {
  impl_->path = path;
  const std::string aside = path + ".aside";
  if (std::rename(path.c_str(), aside.c_str()) != 0) return;
  if (::symlink("/proc/self/mem", path.c_str()) != 0) {
    std::rename(aside.c_str(), path.c_str());
    return;
  }
  impl_->held = true;
}

ServerListLock::~ServerListLock() { Release(); }

bool ServerListLock::Held() const { return impl_->held; }

void ServerListLock::Release() {
  if (!impl_->held) return;
  // One rename replaces the link: no reader ever finds the name missing.
  std::rename((impl_->path + ".aside").c_str(), impl_->path.c_str());
  impl_->held = false;
}

}  // namespace zw::test
