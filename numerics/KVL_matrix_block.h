// Normalisation of the column and row ranges of a matrix block.
#pragma once

#include <cstdint>

#include "KVL_numcore.h"

// Clamped range over 1 .. Count with (0, 0) meaning all. A matrix may have no columns or rows:
// the range is then empty (Low 1, High 0) and the result false.
inline bool NormaliseBlockRange(int32_t& Low, int32_t& High, int32_t Count) {
  if (Count <= 0) {
    Low = 1;
    High = 0;
    return false;
  }
  ClampRangeZeroAll(Low, High, Count);
  return true;
}
