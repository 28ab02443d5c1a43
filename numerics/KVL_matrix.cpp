#include "KVL_matrix.h"

#include <algorithm>
#include <new>

#include "KVL_crclanes.h"
#include "KVL_random.h"
#include "KVL_univconst.h"

namespace {

std::size_t Cells(int32_t Count) { return static_cast<std::size_t>(std::max(Count, 1)); }

// A destination index computed in 64 bits; false when it cannot be an int32 index.
bool ToIndex(int64_t value, int32_t& index) {
  if (value < INT32_MIN || value > INT32_MAX) return false;
  index = static_cast<int32_t>(value);
  return true;
}

}  // namespace

template <typename T>
TMatrixCore<T>::TMatrixCore(TComponent* AOwner) : TComponent(AOwner), FMat(NewStorage(1, 1)) {}

template <typename T>
void TMatrixCore<T>::ThrowNoMemory() const {
  throw EKVLMatrixError(ComponentMessage(Name(), "not enough memory on heap"));
}

template <typename T>
std::vector<T> TMatrixCore<T>::NewStorage(int32_t Nc, int32_t Nr) const {
  const std::size_t cells = Cells(Nc) * Cells(Nr);  // below 2^62: no overflow
  if (!StorageFits(cells, sizeof(T))) ThrowNoMemory();
  try {
    return std::vector<T>(cells, T{0});
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
}

template <typename T>
void TMatrixCore<T>::SetElement(int32_t Col, int32_t Row, T value) {
  if constexpr (kSparseCapable) {
    if (FIsSparse) return SetSparseElement(Col, Row, value);
  }
  if (!IndexInRange(Col, FNCol) || !IndexInRange(Row, FNRow)) return;
  FMat[static_cast<std::size_t>(Col - 1) * FStride + static_cast<std::size_t>(Row - 1)] = value;
  Changed();
}

template <typename T>
bool TMatrixCore<T>::Resize(int32_t Nc, int32_t Nr) {
  Nc = std::max(Nc, 0);
  Nr = std::max(Nr, 0);
  if constexpr (kSparseCapable) {
    if (FIsSparse) {
      ResizeSparse(Nc, Nr);
      return true;
    }
  }
  std::vector<T> fresh = NewStorage(Nc, Nr);
  // Cells inside both storages keep their values, whether or not they were valid elements.
  const std::size_t keepCols = std::min(FMat.size() / FStride, Cells(Nc));
  const std::size_t keepRows = std::min(FStride, Cells(Nr));
  for (std::size_t c = 0; c < keepCols; ++c)
    std::copy_n(FMat.begin() + c * FStride, keepRows, fresh.begin() + c * Cells(Nr));
  FMat.swap(fresh);
  FStride = Cells(Nr);
  FNCol = Nc;
  FNRow = Nr;
  Changed();
  return true;
}

template <typename T>
void TMatrixCore<T>::Changed() {
  if (FOnChange) FOnChange(this);
}

template <typename T>
void TMatrixCore<T>::Clone(const TMatrixCore* MatSource) {
  if (!MatSource) return;
  if constexpr (kSparseCapable) {
    if (FIsSparse != MatSource->FIsSparse) return;
    if (FIsSparse) return CloneSparse(*MatSource);
  }
  Resize(MatSource->FNCol, MatSource->FNRow);
  for (int32_t c = 1; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) SetElement(c, r, MatSource->Element(c, r));
  Changed();
}

template <typename T>
std::string TMatrixCore<T>::CRCofData() const {
  if constexpr (kSparseCapable) {
    if (FIsSparse) return SparseCRC();
  }
  // With at least one row the valid elements are the first columns x rows cells.
  TLaneCrc32<T> crc;
  if (FNCol > 0 && FNRow > 0) crc.Absorb(FMat.data(), Cells(FNCol) * FStride);
  return crc.Text();
}

template <typename T>
void TMatrixCore<T>::Fill(T value) {
  if constexpr (kSparseCapable) {
    if (FIsSparse) return FillSparse(value);
  }
  if (FNCol > 0 && FNRow > 0) std::fill_n(FMat.begin(), Cells(FNCol) * FStride, value);
  Changed();
}

template <typename T>
void TMatrixCore<T>::FillDiag(T value) {
  if (FIsSparse) return;
  const int32_t n = std::min(FNCol, FNRow);
  for (int32_t i = 0; i < n; ++i) FMat[static_cast<std::size_t>(i) * FStride + i] = value;
  Changed();
}

template <typename T>
void TMatrixCore<T>::CopyRowToVec(TVectorCore<T>* DestVec, int32_t Row, int32_t FirstCol,
                                  int32_t LastCol) const {
  if (!DestVec) return;
  ClampRangeZeroAll(FirstCol, LastCol, FNCol);
  Row = std::min(std::max(Row, 1), FNRow);
  if (static_cast<int64_t>(LastCol) - FirstCol + 1 > DestVec->NrOfElem())
    LastCol = FirstCol + DestVec->NrOfElem() - 1;
  DestVec->Fill(T{0});
  for (int32_t c = FirstCol; c <= LastCol; ++c) DestVec->SetElement(c - FirstCol + 1, Element(c, Row));
}

template <typename T>
void TMatrixCore<T>::CopyColToVec(TVectorCore<T>* DestVec, int32_t Col, int32_t FirstRow,
                                  int32_t LastRow) const {
  if (!DestVec) return;
  ClampRangeZeroAll(FirstRow, LastRow, FNRow);
  Col = std::min(std::max(Col, 1), FNCol);
  if (static_cast<int64_t>(LastRow) - FirstRow + 1 > DestVec->NrOfElem())
    LastRow = FirstRow + DestVec->NrOfElem() - 1;
  DestVec->Fill(T{0});
  for (int32_t r = FirstRow; r <= LastRow; ++r) DestVec->SetElement(r - FirstRow + 1, Element(Col, r));
}

template <typename T>
template <typename S>
void TMatrixCore<T>::CopyBlockFrom(const TMatrixCore<S>& Source, int32_t SourceColLo,
                                   int32_t SourceRowLo, int32_t SourceColHi, int32_t SourceRowHi,
                                   int32_t DestCol, int32_t DestRow) {
  ClampRange(SourceColLo, SourceColHi, Source.FNCol);
  ClampRange(SourceRowLo, SourceRowHi, Source.FNRow);
  // The block is read whole before anything is written, so a copy within one matrix does not
  // read cells it has already overwritten.
  std::vector<T> block;
  try {
    block.reserve(static_cast<std::size_t>(SourceColHi - SourceColLo + 1) *
                  static_cast<std::size_t>(SourceRowHi - SourceRowLo + 1));
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  for (int32_t c = SourceColLo; c <= SourceColHi; ++c)
    for (int32_t r = SourceRowLo; r <= SourceRowHi; ++r)
      block.push_back(static_cast<T>(Source.Element(c, r)));
  auto next = block.begin();
  for (int32_t c = SourceColLo; c <= SourceColHi; ++c) {
    for (int32_t r = SourceRowLo; r <= SourceRowHi; ++r, ++next) {
      int32_t destCol = 0, destRow = 0;
      if (ToIndex(static_cast<int64_t>(c) - SourceColLo + DestCol, destCol) &&
          ToIndex(static_cast<int64_t>(r) - SourceRowLo + DestRow, destRow))
        SetElement(destCol, destRow, *next);
    }
  }
  Changed();
}

template <typename T>
void TMatrixCore<T>::CopyFrom(const TMatrixCore* MatSource, int32_t SourceColLo,
                              int32_t SourceRowLo, int32_t SourceColHi, int32_t SourceRowHi,
                              int32_t DestCol, int32_t DestRow) {
  if (MatSource)
    CopyBlockFrom(*MatSource, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol, DestRow);
}

template <typename T>
void TMatrixCore<T>::SMult(T Scalar) {
  if constexpr (kSparseCapable) {
    if (FIsSparse) {
      FSparse.MultiplyStoredValues(Scalar);
      return Changed();
    }
  }
  if (FNCol > 0 && FNRow > 0)
    for (std::size_t i = 0; i < Cells(FNCol) * FStride; ++i) FMat[i] = ArithMul(FMat[i], Scalar);
  Changed();
}

template <typename T>
void TMatrixCore<T>::SAdd(T Scalar) {
  if (FIsSparse) return;
  if (FNCol > 0 && FNRow > 0)
    for (std::size_t i = 0; i < Cells(FNCol) * FStride; ++i) FMat[i] = ArithAdd(FMat[i], Scalar);
  Changed();
}

template <typename T>
bool TMatrixCore<T>::Add(const TMatrixCore* MatB) {
  if (!MatB || FIsSparse) return false;
  if constexpr (kSparseCapable) {
    if (MatB->FIsSparse) {
      if (FNCol < MatB->FSparse.HighCol() || FNRow < MatB->FSparse.HighRow()) return false;
      AddSparse(*MatB);
      Changed();
      return true;
    }
  }
  if (MatB->FNCol != FNCol || MatB->FNRow != FNRow) return false;
  if (FNCol > 0 && FNRow > 0)
    for (std::size_t i = 0; i < Cells(FNCol) * FStride; ++i) FMat[i] = ArithAdd(FMat[i], MatB->FMat[i]);
  Changed();
  return true;
}

template <typename T>
bool TMatrixCore<T>::Subtract(const TMatrixCore* MatB) {
  if (!MatB || FIsSparse || MatB->FIsSparse) return false;
  if (MatB->FNCol != FNCol || MatB->FNRow != FNRow) return false;
  if (FNCol > 0 && FNRow > 0)
    for (std::size_t i = 0; i < Cells(FNCol) * FStride; ++i) FMat[i] = ArithSub(FMat[i], MatB->FMat[i]);
  Changed();
  return true;
}

template <typename T>
bool TMatrixCore<T>::Multiply(const TMatrixCore* MatB, TMatrixCore* MatRes) {
  if (!MatB || !MatRes || FIsSparse || MatB->FIsSparse || MatRes->FIsSparse) return false;
  if (FNCol != MatB->FNRow || MatRes->FNCol != MatB->FNCol || MatRes->FNRow != FNRow) return false;
  // Products go to a scratch block first: MatRes may be one of the operands.
  std::vector<T> product = NewStorage(MatB->FNCol, FNRow);
  using Accum = typename TVectorTraits<T>::Accum;
  for (int32_t j = 0; j < MatB->FNCol; ++j) {
    const T* b = MatB->FMat.data() + static_cast<std::size_t>(j) * MatB->FStride;
    for (int32_t i = 0; i < FNRow; ++i) {
      Accum sum{0};
      for (int32_t k = 0; k < FNCol; ++k)
        sum = ArithAdd(sum, ArithMul(Accum(FMat[static_cast<std::size_t>(k) * FStride + i]), Accum(b[k])));
      product[static_cast<std::size_t>(j) * Cells(FNRow) + i] = static_cast<T>(sum);
    }
  }
  for (int32_t i = 1; i <= FNRow; ++i)
    for (int32_t j = 1; j <= MatB->FNCol; ++j)
      MatRes->SetElement(j, i, product[static_cast<std::size_t>(j - 1) * Cells(FNRow) + (i - 1)]);
  Changed();
  return true;
}

template <typename T>
bool TMatrixCore<T>::TransposeAndMultiply(const TMatrixCore* MatB, TMatrixCore* MatRes) {
  if (!MatB || !MatRes || FIsSparse || MatB->FIsSparse || MatRes->FIsSparse) return false;
  if (FNRow != MatB->FNRow || MatRes->FNCol != MatB->FNCol || MatRes->FNRow != FNCol) return false;
  std::vector<T> product = NewStorage(MatB->FNCol, FNCol);
  using Accum = typename TVectorTraits<T>::Accum;
  for (int32_t j = 0; j < MatB->FNCol; ++j) {
    const T* b = MatB->FMat.data() + static_cast<std::size_t>(j) * MatB->FStride;
    for (int32_t i = 0; i < FNCol; ++i) {
      const T* a = FMat.data() + static_cast<std::size_t>(i) * FStride;
      Accum sum{0};
      for (int32_t k = 0; k < FNRow; ++k) sum = ArithAdd(sum, ArithMul(Accum(a[k]), Accum(b[k])));
      product[static_cast<std::size_t>(j) * Cells(FNCol) + i] = static_cast<T>(sum);
    }
  }
  for (int32_t i = 1; i <= FNCol; ++i)
    for (int32_t j = 1; j <= MatB->FNCol; ++j)
      MatRes->SetElement(j, i, product[static_cast<std::size_t>(j - 1) * Cells(FNCol) + (i - 1)]);
  Changed();
  return true;
}

template <typename T>
bool TMatrixCore<T>::TransposeAndMultiply(const TVectorCore<T>* VecB, TVectorCore<T>* VecRes) {
  if (!VecB || !VecRes || FIsSparse) return false;
  if (VecB->NrOfElem() != FNRow || VecRes->NrOfElem() != FNCol) return false;
  // VecB is read from a copy: VecRes may be the same vector.
  const std::vector<T> b(VecB->Data(), VecB->Data() + VecB->NrOfElem());
  using Accum = typename TVectorTraits<T>::Accum;
  for (int32_t i = 1; i <= FNCol; ++i) {
    const T* a = FMat.data() + static_cast<std::size_t>(i - 1) * FStride;
    Accum sum{0};
    for (int32_t k = 0; k < FNRow; ++k) {
      sum = ArithAdd(sum, ArithMul(Accum(a[k]), Accum(b[k])));
      VecRes->SetElement(i, static_cast<T>(sum));
    }
  }
  Changed();
  return true;
}

template <typename T>
bool TMatrixCore<T>::Transpose() {
  if constexpr (kSparseCapable) {
    if (FIsSparse) {
      FSparse.Transpose();
      std::swap(FNCol, FNRow);
      Changed();
      return true;
    }
  }
  std::vector<T> fresh = NewStorage(FNRow, FNCol);
  const std::size_t freshStride = Cells(FNCol);
  for (int32_t c = 0; c < FNCol; ++c)
    for (int32_t r = 0; r < FNRow; ++r)
      fresh[static_cast<std::size_t>(r) * freshStride + c] = FMat[static_cast<std::size_t>(c) * FStride + r];
  FMat.swap(fresh);
  FStride = freshStride;
  std::swap(FNCol, FNRow);
  Changed();
  return true;
}

template class TMatrixCore<double>;
template class TMatrixCore<int32_t>;

// ---- TMatrix -----------------------------------------------------------------------------------

void TMatrix::Assign(const TComponent* Source) {
  const auto* source = dynamic_cast<const TMatrix*>(Source);
  if (!source) throw EKVLMatrixError("Cannot assign this object to a TMatrix");
  if (source == this) return;
  std::vector<double> storage = source->FMat;
  FMat.swap(storage);
  FStride = source->FStride;
  FNCol = source->FNCol;
  FNRow = source->FNRow;
  FDataID = source->FDataID;
  FOnChange = source->FOnChange;
  FOnSortExchange = source->FOnSortExchange;
  FOnCalcDistance = source->FOnCalcDistance;
}

void TMatrix::AssignTo(TComponent* Dest) const {
  auto* dest = dynamic_cast<TMatrix*>(Dest);
  if (!dest) throw EKVLMatrixError("Cannot assign a TMatrix to this object");
  dest->Assign(this);
}

void TMatrix::FillRandomUniform(double RangeLow, double RangeHigh) {
  for (int32_t c = 0; c < FNCol; ++c)
    for (int32_t r = 0; r < FNRow; ++r)
      FMat[static_cast<std::size_t>(c) * FStride + r] = RangeLow + RandomUniform() * (RangeHigh - RangeLow);
  Changed();
}

void TMatrix::FillRandomGauss(double Mean, double StdDev) {
  for (int32_t c = 0; c < FNCol; ++c)
    for (int32_t r = 0; r < FNRow; ++r)
      FMat[static_cast<std::size_t>(c) * FStride + r] = RandomGauss() * StdDev + Mean;
  Changed();
}

void TMatrix::CopyFrom(const TMatrixCore<int32_t>* MatSource, int32_t SourceColLo,
                       int32_t SourceRowLo, int32_t SourceColHi, int32_t SourceRowHi,
                       int32_t DestCol, int32_t DestRow) {
  if (MatSource)
    CopyBlockFrom(*MatSource, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol, DestRow);
}

void TMatrix::CopyFromVec(const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem,
                          int32_t DestCol, int32_t DestRow) {
  if (!VecSource) return;
  ClampRange(Source1stElem, SourceLastElem, VecSource->NrOfElem());
  for (int32_t e = Source1stElem; e <= SourceLastElem; ++e) {
    int32_t destRow = 0;
    if (ToIndex(static_cast<int64_t>(e) - Source1stElem + DestRow, destRow))
      SetElement(DestCol, destRow, VecSource->Element(e));
  }
  Changed();
}
