#pragma once

#include <cstddef>
#include <string>

namespace zw::test {

// The demo calculation: 16 rows of 9 tab-separated cells, CR LF, Windows-1252.
std::string DemoCalculation();

// The demo's heading row and then the given number of copies of its first order row.
std::string DemoRows(int rows);
// DemoRows of at least the given size in bytes.
std::string DemoRowsOfSize(std::size_t size);

// The rules of "demo.txt" as the program ships them.
std::string DemoRules();

}  // namespace zw::test
