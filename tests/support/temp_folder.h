#pragma once

#include <string>
#include <string_view>

namespace zw::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the
// end of the test. Path() ends in the path delimiter.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Writes a file (bytes unchanged) and returns its full path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  std::string Read(std::string_view name) const;

 private:
  std::string path_;
};

}  // namespace zw::test
