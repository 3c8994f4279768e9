#pragma once

#include <cstddef>

#include "orderlines/uCustomDataGridLines.h"

namespace zw {

// How many lines a room estimate reads at most: a pass over 100,000 lines only to guess a
// size costs more than the room it saves.
inline constexpr int kSampledLines = 256;

// The sum of `measure(line)` over the lines, for the room a writer is given at first: exact for
// up to kSampledLines lines; for more, scaled up from that many lines spread evenly over all of
// them. A writer whose room falls short still grows it.
template <class Measure>
std::size_t EstimatedLineSum(const TCustomDataGridLines& lines, Measure&& measure) {
  const int count = lines.Count();
  std::size_t sum = 0;
  if (count <= kSampledLines) {
    for (int i = 0; i < count; ++i) sum += measure(lines.Items(i));
    return sum;
  }
  for (int k = 0; k < kSampledLines; ++k) {
    const auto index = static_cast<long long>(k) * count / kSampledLines;
    sum += measure(lines.Items(static_cast<int>(index)));
  }
  return static_cast<std::size_t>(static_cast<double>(sum) * count / kSampledLines);
}

}  // namespace zw
