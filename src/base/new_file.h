#pragma once

#include <string>
#include <string_view>

namespace zw {

// Saves the bytes as a new file in the folder (ending in the path delimiter), named stem +
// extension or, when that name is taken, stem + " (2)" + extension, " (3)", and so on. No file
// is ever replaced, not even one that another program creates while a name is chosen.
// Returns the path of the new file. Throws FileCreateError.
std::string SaveAsNewFile(const std::string& folder, const std::string& stem,
                          const std::string& extension, std::string_view bytes);

}  // namespace zw
