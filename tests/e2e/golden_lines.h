#pragma once

#include <string>
#include <vector>

// The demo calculation's order lines as the tool must place them, written out once into the
// committed files of tests/e2e/golden/ (copied beside the test executable by the build).
namespace zw::e2e {

// CF_DATAGRIDDATA, "HTML Format", CF_TEXT and "CSV" of the demo with the tax "7,5" and the
// German separators, without the zero bytes that end a memory block; empty when a file is
// missing.
std::vector<std::string> GoldenDemoBlocks();

}  // namespace zw::e2e
