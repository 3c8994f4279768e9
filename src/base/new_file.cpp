#include "base/new_file.h"

#include "base/errors.h"
#include "base/file_system.h"

namespace zw {

std::string SaveAsNewFile(const std::string& folder, const std::string& stem,
                          const std::string& extension, std::string_view bytes) {
  // Enough for any folder a person keeps; a folder that refuses every name is an error.
  constexpr int kMaxNumber = 10000;
  for (int number = 1; number <= kMaxNumber; ++number) {
    const std::string suffix = number == 1 ? "" : " (" + std::to_string(number) + ")";
    const std::string path = folder + stem + suffix + extension;
    if (WriteNewFileBytes(path, bytes)) return path;
  }
  throw FileCreateError(folder + stem + extension);
}

}  // namespace zw
