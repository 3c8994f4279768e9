#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace zw {

// The whole of zwconvert: reads the text, runs the templates exactly as the tool's conversion
// run does, writes the chosen format to out and messages to err. Returns the exit status:
// 0 order lines written, 1 no template produced any, 2 bad usage, input or template.
int RunZwconvert(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);

}  // namespace zw
