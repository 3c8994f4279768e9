#pragma once

#include <memory>
#include <string>

namespace zw::test {

// Makes an existing file unreadable for everyone else until released, as the order
// application's list may be while another program holds it: on Windows a handle without
// sharing, elsewhere (no mandatory locks) the file is swapped for one whose every read fails.
class ServerListLock {
 public:
  explicit ServerListLock(const std::string& path);
  ~ServerListLock();
  ServerListLock(const ServerListLock&) = delete;
  ServerListLock& operator=(const ServerListLock&) = delete;

  bool Held() const;
  // The file is as it was before, readable again.
  void Release();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zw::test
