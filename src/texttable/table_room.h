#pragma once

#include <cstddef>
#include <string_view>

#include "texttable/field_stops.h"

namespace zw {

// The most rows and cells that the records of a stretch of text can give, counted a block of
// bytes at a time without reading the records: every record ends at a CR or at the end of the
// text, every field at a delimiter or where its record ends.
struct TableRoom {
  std::size_t Rows = 0;   // records that begin before End
  std::size_t Cells = 0;  // their fields up to the column count
  std::size_t End = 0;    // where the count stopped
};

// Counts from `from` on until about max_rows records are counted or the text ends.
template <ByteBlocks kBlocks>
TableRoom CountTableRoom(std::string_view text, std::size_t from, char delimiter, int column_count,
                         std::size_t max_rows);

}  // namespace zw
