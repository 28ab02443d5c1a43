// Sparse mode of TIntMatrix: element access, sizing, filling, cloning and the conversions
// between the dense storage and the sorted entry list.
#include <algorithm>
#include <new>

#include "KVL_crclanes.h"
#include "KVL_matrix.h"

template <>
void TMatrixCore<int32_t>::SetSparseElement(int32_t Col, int32_t Row, int32_t value) {
  if (Col < 1 || Row < 1) return;
  try {
    FSparse.Set(Col, Row, value);
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  FNCol = FSparse.HighCol();
  FNRow = FSparse.HighRow();
  Changed();
}

template <>
void TMatrixCore<int32_t>::ResizeSparse(int32_t Nc, int32_t Nr) {
  FNCol = Nc;
  FNRow = Nr;
  FSparse.Crop(Nc, Nr);
  Changed();
}

template <>
void TMatrixCore<int32_t>::CloneSparse(const TMatrixCore& Source) {
  if (&Source != this) {
    try {
      FSparse = Source.FSparse;
    } catch (const std::bad_alloc&) {
      ThrowNoMemory();
    }
    FNCol = Source.FNCol;
    FNRow = Source.FNRow;
  }
  Changed();
}

template <>
void TMatrixCore<int32_t>::FillSparse(int32_t value) {
  if (value != 0) {
    FSparse.SetStoredValues(value);
  } else {
    try {
      FSparse.Reset(FSparse.AllocBy());
    } catch (const std::bad_alloc&) {
      ThrowNoMemory();
    }
  }
  Changed();
}

template <>
void TMatrixCore<int32_t>::AddSparse(const TMatrixCore& MatB) {
  for (const TSpMatElemInt& e : MatB.FSparse.Entries()) {
    int32_t& cell = FMat[static_cast<std::size_t>(e.colidx - 1) * FStride +
                         static_cast<std::size_t>(e.rowidx - 1)];
    cell = ArithAdd(cell, e.value);
  }
}

// The fingerprint of the elements the matrix shows, absent positions counting as 0. The runs of
// absent positions between entries are skipped in logarithmic time, so a large, nearly empty
// matrix costs what its entries cost.
template <>
std::string TMatrixCore<int32_t>::SparseCRC() const {
  TLaneCrc32<int32_t> crc;
  const uint64_t rows = static_cast<uint64_t>(FNRow);
  const uint64_t total = static_cast<uint64_t>(FNCol) * rows;
  uint64_t next = 0;  // column-major position of the next element to absorb
  for (const TSpMatElemInt& e : FSparse.Entries()) {
    if (e.colidx > FNCol || e.rowidx > FNRow) continue;
    const uint64_t at = static_cast<uint64_t>(e.colidx - 1) * rows + static_cast<uint64_t>(e.rowidx - 1);
    crc.AbsorbZeros(at - next);
    crc.Absorb(e.value);
    next = at + 1;
  }
  crc.AbsorbZeros(total - next);
  return crc.Text();
}

TIntMatrix* TIntMatrix::CreateSparse(TComponent* AOwner, int32_t AllocBy) {
  auto* matrix = new TIntMatrix(AOwner);
  try {
    matrix->FSparse.Reset(AllocBy);
  } catch (const std::bad_alloc&) {
    delete matrix;
    throw EKVLMatrixError(ComponentMessage("", "not enough memory on heap"));
  }
  std::vector<int32_t>().swap(matrix->FMat);
  matrix->FIsSparse = true;
  matrix->FNCol = 0;
  matrix->FNRow = 0;
  return matrix;
}

void TIntMatrix::ArrayToSparse(int32_t AllocBy) {
  if (FIsSparse) return;
  TSparseIntStore sparse;
  try {
    sparse.Reset(AllocBy);
    for (int32_t c = 1; c <= FNCol; ++c)
      for (int32_t r = 1; r <= FNRow; ++r)
        if (const int32_t v = Element(c, r); v != 0) sparse.Append(c, r, v);
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  FSparse = std::move(sparse);
  std::vector<int32_t>().swap(FMat);
  FIsSparse = true;
}

void TIntMatrix::SparseToArray() {
  if (!FIsSparse) return;
  const int32_t nc = FSparse.HighCol();
  const int32_t nr = FSparse.HighRow();
  std::vector<int32_t> dense = NewStorage(nc, nr);
  const std::size_t stride = static_cast<std::size_t>(std::max(nr, 1));
  for (const TSpMatElemInt& e : FSparse.Entries())
    if (e.colidx <= nc && e.rowidx <= nr)  // always true: the box covers every entry
      dense[static_cast<std::size_t>(e.colidx - 1) * stride + static_cast<std::size_t>(e.rowidx - 1)] = e.value;
  FMat.swap(dense);
  FStride = stride;
  FNCol = nc;
  FNRow = nr;
  FSparse.Release();
  FIsSparse = false;
}
