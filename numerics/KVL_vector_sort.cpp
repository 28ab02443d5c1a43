// Sorting and reordering of vectors: comb sort in place, reversal, random shuffle.
#include <utility>

#include "KVL_random.h"
#include "KVL_vector.h"

namespace {

constexpr double kCombShrink = 1.3;

// Next comb sort gap: the previous one shrunk by kCombShrink, truncated, at least 1.
int32_t NextGap(int32_t gap) {
  const auto next = static_cast<int32_t>(gap / kCombShrink);
  return next > 0 ? next : 1;
}

// One comb sort of x[first .. last] (0-based, inclusive). OutOfOrder(a, b) is true when a must
// not stand before b; only such pairs are exchanged, so equal elements keep their places.
template <typename T, typename OutOfOrder, typename OnExchange>
void CombSort(T* x, int32_t first, int32_t last, OutOfOrder outOfOrder, OnExchange onExchange) {
  int32_t gap = last - first;
  bool swapped = false;
  do {
    gap = NextGap(gap);
    swapped = false;
    for (int32_t i = first; i + gap <= last; ++i) {
      if (outOfOrder(x[i], x[i + gap])) {
        std::swap(x[i], x[i + gap]);
        onExchange(i, i + gap);
        swapped = true;
      }
    }
  } while (gap != 1 || swapped);
}

}  // namespace

template <typename T>
void TVectorCore<T>::SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast) {
  if (RangeLast < RangeFirst) std::swap(RangeFirst, RangeLast);
  ClampRange(RangeFirst, RangeLast, FNElem);
  if (RangeLast - RangeFirst <= 0) return;

  // A copy of the handler: one that replaces itself while it runs must not destroy the running
  // function.
  const TSortExchgEvent handler = FOnSortExchange;
  // The sort works 0-based; the event reports 1-based indices.
  const auto onExchange = [this, &handler](int32_t i, int32_t j) {
    if (handler) handler(this, 0, i + 1, j + 1, 0, 0);
  };
  if (Ascending)
    CombSort(FVec.data(), RangeFirst - 1, RangeLast - 1, [](T a, T b) { return a > b; },
             onExchange);
  else
    CombSort(FVec.data(), RangeFirst - 1, RangeLast - 1, [](T a, T b) { return a < b; },
             onExchange);
  Changed();
}

template <typename T>
void TVectorCore<T>::Mirror() {
  for (int32_t i = 0, j = FNElem - 1; i < j; ++i, --j) std::swap(FVec[i], FVec[j]);
  Changed();
}

template <typename T>
void TVectorCore<T>::ShuffleElems() {
  Randomize();
  const auto count = static_cast<uint32_t>(FNElem);
  for (uint32_t k = 0; k < count; ++k) {
    const uint32_t a = RandomBelow(count);
    const uint32_t b = RandomBelow(count);
    std::swap(FVec[a], FVec[b]);
  }
}

template void TVectorCore<double>::SortElems(bool, int32_t, int32_t);
template void TVectorCore<int32_t>::SortElems(bool, int32_t, int32_t);
template void TVectorCore<double>::Mirror();
template void TVectorCore<int32_t>::Mirror();
template void TVectorCore<double>::ShuffleElems();
template void TVectorCore<int32_t>::ShuffleElems();
