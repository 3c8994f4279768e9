#pragma once

#include <string>

namespace zw::test {

// The demo calculation: 16 rows of 9 tab-separated cells, CR LF, Windows-1252.
std::string DemoCalculation();

// The rules of "demo.txt" as the program ships them.
std::string DemoRules();

}  // namespace zw::test
