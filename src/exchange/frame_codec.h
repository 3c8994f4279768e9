#pragma once

#include <cstdint>
#include <string>

#include "exchange/pipe_transport.h"

// The server's side of the pipe frame: int64 ID length, the ID, int64 data size, the data.
namespace zw {

struct PipeFrame {
  std::string MessageId;
  std::string Data;  // the storage stream
};

// The frame's integers: signed 64-bit, little-endian.
void AppendInt64(std::string& out, std::int64_t value);
std::int64_t Int64From(const unsigned char* bytes);

// The bytes of a frame.
std::string EncodeFrame(const PipeFrame& frame);

// Reads one frame; false when the connection fails, the deadline passes or a length is
// negative or beyond limit (then nothing of that length is allocated).
bool ReadFrame(PipeConnection& connection, PipeDeadline deadline, PipeFrame& frame,
               std::int64_t limit = 64LL * 1024 * 1024);

// Reads exactly size bytes.
bool ReadExactly(PipeConnection& connection, void* buffer, std::size_t size, PipeDeadline deadline);

}  // namespace zw
