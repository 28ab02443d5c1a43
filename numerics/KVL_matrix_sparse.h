// Storage of a sparse integer matrix: the nonzero entries as a list sorted by (column, row),
// the bounding box of the stored positions and a capacity that grows in fixed steps.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

struct TSpMatElemInt {
  int32_t colidx;
  int32_t rowidx;
  int32_t value;
};

class TSparseIntStore {
 public:
  // Empty list with a capacity of max(AllocBy, 1) entries and an empty bounding box. Throws
  // std::bad_alloc, leaving the store unchanged, when that capacity exceeds kMaxStorageBytes.
  void Reset(int32_t AllocBy);
  // Drops the list and its room (capacity 0).
  void Release();

  // The value at (Col, Row), 1-based; 0 for an absent position.
  int32_t Get(int32_t Col, int32_t Row) const;
  // Stores Value at (Col, Row), Col and Row >= 1; a new position is inserted in order, growing
  // the capacity by AllocBy when the list is full, and widens the bounding box. Throws
  // std::bad_alloc, leaving the store unchanged, when the memory cannot be obtained or the
  // capacity would exceed kMaxStorageBytes.
  void Set(int32_t Col, int32_t Row, int32_t Value);
  // Appends an entry that comes after every stored one (building a list in order).
  void Append(int32_t Col, int32_t Row, int32_t Value);

  // Drops the entries beyond column Nc or row Nr and shrinks the high bounds to them.
  void Crop(int32_t Nc, int32_t Nr);
  // Swaps columns and rows of every entry and of the bounding box, then restores the order.
  void Transpose();
  void SetStoredValues(int32_t Value);
  void MultiplyStoredValues(int32_t Factor);  // wraps in 32 bits

  const std::vector<TSpMatElemInt>& Entries() const { return FEntries; }
  int32_t NumElem() const { return static_cast<int32_t>(FEntries.size()); }
  int32_t NumAllocated() const { return FNumAllocated; }
  int32_t AllocBy() const { return FAllocBy; }
  int32_t LowCol() const { return FLowCol; }
  int32_t HighCol() const { return FHighCol; }
  int32_t LowRow() const { return FLowRow; }
  int32_t HighRow() const { return FHighRow; }

 private:
  // Position of the first entry not before (Col, Row).
  std::vector<TSpMatElemInt>::const_iterator LowerBound(int32_t Col, int32_t Row) const;
  // The capacity once one more entry is stored: raised by AllocBy when the list is full. The
  // memory behind it grows geometrically as std::vector does.
  int32_t CapacityForOneMore() const;
  void Widen(int32_t Col, int32_t Row);

  int32_t FNumAllocated = 0;
  int32_t FAllocBy = 1;
  // An empty box has low bounds INT32_MAX and high bounds 1.
  int32_t FLowCol = INT32_MAX;
  int32_t FHighCol = 1;
  int32_t FLowRow = INT32_MAX;
  int32_t FHighRow = 1;
  std::vector<TSpMatElemInt> FEntries;
};
