#include <iostream>
#include <string>
#include <vector>

#include "console_text.h"
#include "zwconvert_run.h"

int main(int argc, char** argv) {
  zw::SetBinaryStandardStreams();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return zw::RunZwconvert(args, std::cin, std::cout, std::cerr);
}
