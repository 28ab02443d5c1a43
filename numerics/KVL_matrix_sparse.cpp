#include "KVL_matrix_sparse.h"

#include <algorithm>
#include <new>
#include <tuple>

#include "KVL_numcore.h"

namespace {

bool Before(const TSpMatElemInt& e, int32_t Col, int32_t Row) {
  return e.colidx < Col || (e.colidx == Col && e.rowidx < Row);
}

}  // namespace

void TSparseIntStore::Reset(int32_t AllocBy) {
  const int32_t step = std::max(AllocBy, 1);
  // The capacity is a count; memory is taken as entries arrive.
  if (!StorageFits(static_cast<std::size_t>(step), sizeof(TSpMatElemInt))) throw std::bad_alloc();
  std::vector<TSpMatElemInt>().swap(FEntries);
  FAllocBy = step;
  FNumAllocated = step;
  FLowCol = FLowRow = INT32_MAX;
  FHighCol = FHighRow = 1;
}

void TSparseIntStore::Release() {
  std::vector<TSpMatElemInt>().swap(FEntries);
  FNumAllocated = 0;
}

std::vector<TSpMatElemInt>::const_iterator TSparseIntStore::LowerBound(int32_t Col,
                                                                       int32_t Row) const {
  return std::lower_bound(FEntries.begin(), FEntries.end(), std::pair{Col, Row},
                          [](const TSpMatElemInt& e, const std::pair<int32_t, int32_t>& pos) {
                            return Before(e, pos.first, pos.second);
                          });
}

int32_t TSparseIntStore::Get(int32_t Col, int32_t Row) const {
  if (Col < FLowCol || Col > FHighCol || Row < FLowRow || Row > FHighRow) return 0;
  const auto it = LowerBound(Col, Row);
  return (it != FEntries.end() && it->colidx == Col && it->rowidx == Row) ? it->value : 0;
}

int32_t TSparseIntStore::CapacityForOneMore() const {
  const int64_t needed = static_cast<int64_t>(FEntries.size()) + 1;
  int64_t capacity = FNumAllocated;
  if (capacity < needed) capacity += FAllocBy;
  if (capacity > INT32_MAX ||
      !StorageFits(static_cast<std::size_t>(capacity), sizeof(TSpMatElemInt)))
    throw std::bad_alloc();
  return static_cast<int32_t>(capacity);
}

void TSparseIntStore::Widen(int32_t Col, int32_t Row) {
  FLowCol = std::min(FLowCol, Col);
  FHighCol = std::max(FHighCol, Col);
  FLowRow = std::min(FLowRow, Row);
  FHighRow = std::max(FHighRow, Row);
}

void TSparseIntStore::Set(int32_t Col, int32_t Row, int32_t Value) {
  const auto it = LowerBound(Col, Row);
  if (it != FEntries.end() && it->colidx == Col && it->rowidx == Row) {
    FEntries[static_cast<std::size_t>(it - FEntries.begin())].value = Value;
    return;
  }
  const int32_t capacity = CapacityForOneMore();
  FEntries.insert(it, TSpMatElemInt{Col, Row, Value});  // no effect if it throws
  FNumAllocated = capacity;
  Widen(Col, Row);
}

void TSparseIntStore::Append(int32_t Col, int32_t Row, int32_t Value) {
  const int32_t capacity = CapacityForOneMore();
  FEntries.push_back(TSpMatElemInt{Col, Row, Value});  // no effect if it throws
  FNumAllocated = capacity;
  Widen(Col, Row);
}

void TSparseIntStore::Crop(int32_t Nc, int32_t Nr) {
  FHighCol = std::min(FHighCol, Nc);
  FHighRow = std::min(FHighRow, Nr);
  FLowCol = std::min(FLowCol, FHighCol);
  FLowRow = std::min(FLowRow, FHighRow);
  std::erase_if(FEntries, [Nc, Nr](const TSpMatElemInt& e) {
    return e.colidx > Nc || e.rowidx > Nr;
  });
}

void TSparseIntStore::Transpose() {
  for (TSpMatElemInt& e : FEntries) std::swap(e.colidx, e.rowidx);
  std::swap(FLowCol, FLowRow);
  std::swap(FHighCol, FHighRow);
  std::sort(FEntries.begin(), FEntries.end(), [](const TSpMatElemInt& a, const TSpMatElemInt& b) {
    return std::tie(a.colidx, a.rowidx) < std::tie(b.colidx, b.rowidx);
  });
}

void TSparseIntStore::SetStoredValues(int32_t Value) {
  for (TSpMatElemInt& e : FEntries) e.value = Value;
}

void TSparseIntStore::MultiplyStoredValues(int32_t Factor) {
  for (TSpMatElemInt& e : FEntries) e.value = ArithMul(e.value, Factor);
}
