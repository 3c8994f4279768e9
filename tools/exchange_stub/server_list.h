#pragma once

#include <string>
#include <vector>

namespace zw {

// Adds the names to the server list file, each on a line of its own.
void AddToServerList(const std::string& path, const std::vector<std::string>& names);

// Removes the lines that hold exactly one of the names; the other lines stay in order.
void RemoveFromServerList(const std::string& path, const std::vector<std::string>& names);

}  // namespace zw
