#include "exchange/pipe_transport.h"

namespace zw {

std::string PipePathOf(const std::string& computer_name, const std::string& server_name) {
  return "\\\\" + computer_name + "\\pipe\\" + server_name;
}

}  // namespace zw
