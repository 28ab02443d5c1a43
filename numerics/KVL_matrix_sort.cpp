// Reordering and searching of TMatrix and TIntMatrix: comb sorts of rows and columns with their
// exchange events, mirroring, exchanging, and the nearest-element searches.
#include <algorithm>
#include <cmath>

#include "KVL_matrix.h"
#include "KVL_matrix_block.h"

namespace {

// Comb sort shrink factor: each pass divides the gap by it, truncating.
constexpr double kCombShrink = 1.3;
// Distance that any element must beat for Find to report it.
constexpr double kFindStartDistance = 1.7e308;

// Event codes of OnSortExchange for the matrices.
constexpr uint8_t kExchangedColumns = 1;
constexpr uint8_t kExchangedRows = 2;

// Comb sort of the positions Low .. High (High > Low) by Key; Exchange(i, j) swaps i and j.
// Equal keys are never exchanged.
template <typename KeyAt, typename Exchange>
void CombSortPositions(int32_t Low, int32_t High, bool Ascending, KeyAt Key, Exchange Exchg) {
  int32_t gap = High - Low;
  bool swapped = false;
  do {
    gap = std::max(static_cast<int32_t>(gap / kCombShrink), 1);
    swapped = false;
    for (int32_t i = Low; i <= High - gap; ++i) {
      const auto a = Key(i);
      const auto b = Key(i + gap);
      if (Ascending ? a > b : a < b) {
        Exchg(i, i + gap);
        swapped = true;
      }
    }
  } while (gap != 1 || swapped);
}

}  // namespace

template <typename T>
void TMatrixCore<T>::SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                              int32_t HighCol, int32_t HighRow) {
  if (FIsSparse) return;
  NormaliseBlockRange(LowCol, HighCol, FNCol);
  NormaliseBlockRange(LowRow, HighRow, FNRow);
  if (HighRow - LowRow <= 0) return;
  const bool keyOutside = SortColIx < LowCol || SortColIx > HighCol;
  const auto swapCell = [this](int32_t c, int32_t r1, int32_t r2) {
    // Bounds are checked again: an event handler may have resized the matrix.
    if (!IndexInRange(c, FNCol) || !IndexInRange(r1, FNRow) || !IndexInRange(r2, FNRow)) return;
    T* col = FMat.data() + static_cast<std::size_t>(c - 1) * FStride;
    std::swap(col[r1 - 1], col[r2 - 1]);
  };
  CombSortPositions(
      LowRow, HighRow, Ascending, [&](int32_t r) { return Element(SortColIx, r); },
      [&](int32_t r1, int32_t r2) {
        for (int32_t c = LowCol; c <= HighCol; ++c) swapCell(c, r1, r2);
        if (keyOutside) swapCell(SortColIx, r1, r2);
        if (FOnSortExchange) FOnSortExchange(this, kExchangedRows, r1, r2, LowCol, HighCol);
      });
  Changed();
}

template <typename T>
void TMatrixCore<T>::SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow,
                              int32_t HighCol, int32_t HighRow) {
  if (FIsSparse) return;
  NormaliseBlockRange(LowCol, HighCol, FNCol);
  NormaliseBlockRange(LowRow, HighRow, FNRow);
  if (HighCol - LowCol <= 0) return;
  const bool keyOutside = SortRowIx < LowRow || SortRowIx > HighRow;
  const auto swapCell = [this](int32_t r, int32_t c1, int32_t c2) {
    if (!IndexInRange(r, FNRow) || !IndexInRange(c1, FNCol) || !IndexInRange(c2, FNCol)) return;
    std::swap(FMat[static_cast<std::size_t>(c1 - 1) * FStride + static_cast<std::size_t>(r - 1)],
              FMat[static_cast<std::size_t>(c2 - 1) * FStride + static_cast<std::size_t>(r - 1)]);
  };
  CombSortPositions(
      LowCol, HighCol, Ascending, [&](int32_t c) { return Element(c, SortRowIx); },
      [&](int32_t c1, int32_t c2) {
        for (int32_t r = LowRow; r <= HighRow; ++r) swapCell(r, c1, c2);
        if (keyOutside) swapCell(SortRowIx, c1, c2);
        if (FOnSortExchange) FOnSortExchange(this, kExchangedColumns, c1, c2, LowRow, HighRow);
      });
  Changed();
}

template <typename T>
void TMatrixCore<T>::MirrorColumns() {
  if (FIsSparse) return;
  for (int32_t c = 0; c < FNCol / 2; ++c) {
    T* left = FMat.data() + static_cast<std::size_t>(c) * FStride;
    std::swap_ranges(left, left + FNRow, FMat.data() + static_cast<std::size_t>(FNCol - 1 - c) * FStride);
  }
  Changed();
}

template <typename T>
void TMatrixCore<T>::MirrorRows() {
  if (FIsSparse) return;
  for (int32_t c = 0; c < FNCol; ++c) {
    T* col = FMat.data() + static_cast<std::size_t>(c) * FStride;
    std::reverse(col, col + FNRow);
  }
  Changed();
}

template <typename T>
void TMatrixCore<T>::ExchangeColumns(int32_t c1, int32_t c2) {
  if (FIsSparse || !IndexInRange(c1, FNCol) || !IndexInRange(c2, FNCol)) return;
  if (c1 != c2) {
    T* first = FMat.data() + static_cast<std::size_t>(c1 - 1) * FStride;
    std::swap_ranges(first, first + FNRow, FMat.data() + static_cast<std::size_t>(c2 - 1) * FStride);
  }
  Changed();
}

template <typename T>
void TMatrixCore<T>::ExchangeRows(int32_t r1, int32_t r2) {
  if (FIsSparse || !IndexInRange(r1, FNRow) || !IndexInRange(r2, FNRow)) return;
  for (int32_t c = 0; c < FNCol; ++c) {
    T* col = FMat.data() + static_cast<std::size_t>(c) * FStride;
    std::swap(col[r1 - 1], col[r2 - 1]);
  }
  Changed();
}

template <typename T>
void TMatrixCore<T>::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                          T Value, int32_t& ColIx, int32_t& RowIx) const {
  ColIx = 0;
  RowIx = 0;
  NormaliseBlockRange(LowCol, HighCol, FNCol);
  NormaliseBlockRange(LowRow, HighRow, FNRow);
  double best = kFindStartDistance;
  const auto consider = [&](int32_t c, int32_t r, T x) {
    // In double, so that integer differences cannot overflow.
    const double distance = std::fabs(static_cast<double>(x) - static_cast<double>(Value));
    if (distance < best) {
      best = distance;
      ColIx = c;
      RowIx = r;
    }
  };
  for (int32_t c = LowCol; c <= HighCol; ++c) {
    if (FIsSparse) {
      for (int32_t r = LowRow; r <= HighRow; ++r) consider(c, r, Element(c, r));
    } else {
      const T* col = FMat.data() + static_cast<std::size_t>(c - 1) * FStride;
      for (int32_t r = LowRow; r <= HighRow; ++r) consider(c, r, col[r - 1]);
    }
  }
}

template <typename T>
int32_t TMatrixCore<T>::FindInSortedColumn(int32_t Col, bool ColIsAscending, T Value) const {
  if (!IndexInRange(Col, FNCol) || FNRow < 1) return 0;
  int32_t lo = 1;
  int32_t hi = FNRow;
  while (hi - lo >= 2) {
    const int32_t mid = lo + (hi - lo) / 2;
    const T x = Element(Col, mid);
    if (x == Value) return mid;
    if ((Value < x) != ColIsAscending)
      lo = mid;
    else
      hi = mid;
  }
  const auto distance = [&](int32_t r) {
    return std::fabs(static_cast<double>(Element(Col, r)) - static_cast<double>(Value));
  };
  return distance(hi) > distance(lo) ? lo : hi;
}

#define VELMO_MATRIX_SORT_INSTANTIATE(T)                                                        \
  template void TMatrixCore<T>::SortRows(int32_t, bool, int32_t, int32_t, int32_t, int32_t);    \
  template void TMatrixCore<T>::SortCols(int32_t, bool, int32_t, int32_t, int32_t, int32_t);    \
  template void TMatrixCore<T>::MirrorColumns();                                                \
  template void TMatrixCore<T>::MirrorRows();                                                   \
  template void TMatrixCore<T>::ExchangeColumns(int32_t, int32_t);                              \
  template void TMatrixCore<T>::ExchangeRows(int32_t, int32_t);                                 \
  template void TMatrixCore<T>::Find(int32_t, int32_t, int32_t, int32_t, T, int32_t&, int32_t&) \
      const;                                                                                    \
  template int32_t TMatrixCore<T>::FindInSortedColumn(int32_t, bool, T) const;

VELMO_MATRIX_SORT_INSTANTIATE(double)
VELMO_MATRIX_SORT_INSTANTIATE(int32_t)
#undef VELMO_MATRIX_SORT_INSTANTIATE
