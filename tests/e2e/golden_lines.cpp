#include "e2e/golden_lines.h"

#include "base/errors.h"
#include "base/file_system.h"

namespace zw::e2e {

std::vector<std::string> GoldenDemoBlocks() {
  std::vector<std::string> blocks;
  for (const char* name : {"demo.datagrid", "demo.html", "demo.txt", "demo.csv"}) {
    try {
      blocks.push_back(ReadFileBytes(ExecutableFolder() + "e2e-golden\\" + name));
    } catch (const Error&) {
      return {};
    }
  }
  return blocks;
}

}  // namespace zw::e2e
