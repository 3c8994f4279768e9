#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "orderlines/uCustomDataGridLines.h"

namespace zw {

class TextSink;

// Exists to be streamed as the "CF_DATAGRIDDATA" clipboard format: the lines it points to
// (not owned) and the three values of the line set.
struct TDataGridLinesWrapper {
  std::int32_t Tag = 0;
  const TCustomDataGridLines* DataGridLines = nullptr;
  std::string GUID;
  std::int32_t Row = 0;
  std::string Data;
};

// The component stream of the wrapper: "TPF0", its class name, an empty component name, its
// properties (each line with its non-empty texts, DM, Isnetto and Row), no children. Written
// into a sink or returned as a string.
void WriteWrapper(const TDataGridLinesWrapper& wrapper, TextSink& out);
std::string StreamWrapper(const TDataGridLinesWrapper& wrapper);
// About the size of the stream, for the room a string is given at first.
std::size_t StreamSizeHint(const TDataGridLinesWrapper& wrapper);

}  // namespace zw
