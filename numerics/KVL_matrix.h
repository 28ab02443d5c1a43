// Two-dimensional numeric arrays: TMatrix of doubles and TIntMatrix of 32-bit signed integers,
// which can also hold its nonzero entries as a sparse list. Both are the class template
// TMatrixCore written once. Elements are addressed as (column, row), both 1-based; storage is
// one contiguous column-major block of max(columns, 1) x max(rows, 1) cells.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "KVL_kvlbase.h"
#include "KVL_matrix_sparse.h"
#include "KVL_numcore.h"
#include "KVL_vector.h"

using TOnCalcDistanceEvent =
    std::function<void(void* Sender, int32_t Row1, int32_t Row2, double& Distance)>;

template <typename T>
class TMatrixCore : public TComponent {
 public:
  using Elem = T;
  static constexpr bool kSparseCapable = std::is_same_v<T, int32_t>;

  explicit TMatrixCore(TComponent* AOwner = nullptr);

  int32_t NrOfColumns() const { return FNCol; }
  int32_t NrOfRows() const { return FNRow; }
  // Resize keeping the other count; a negative value acts as 0.
  void SetNrOfColumns(int32_t Nc) { Resize(Nc, FNRow); }
  void SetNrOfRows(int32_t Nr) { Resize(FNCol, Nr); }
  const std::string& DataID() const { return FDataID; }
  void SetDataID(const std::string& value) { FDataID = value; }
  bool IsSparse() const { return FIsSparse; }

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
  const TSortExchgEvent& OnSortExchange() const { return FOnSortExchange; }
  void SetOnSortExchange(TSortExchgEvent handler) { FOnSortExchange = std::move(handler); }

  // Element (Col, Row), or 0 outside the matrix (no error).
  T Element(int32_t Col, int32_t Row) const {
    if constexpr (kSparseCapable) {
      if (FIsSparse) return FSparse.Get(Col, Row);
    }
    if (IndexInRange(Col, FNCol) && IndexInRange(Row, FNRow))
      return FMat[static_cast<std::size_t>(Col - 1) * FStride + static_cast<std::size_t>(Row - 1)];
    return T{0};
  }
  // Stores the value and notifies; ignored (and silent) outside the matrix. A sparse matrix
  // takes any position with Col, Row >= 1 and grows its counts to the stored positions.
  void SetElement(int32_t Col, int32_t Row, T value);

  // New counts (negative ones act as 0); cells inside both the old and the new storage keep
  // their values, new cells are 0; always notifies. Throws EKVLMatrixError
  // "not enough memory on heap" and keeps the matrix when the storage cannot be obtained.
  bool Resize(int32_t Nc, int32_t Nr);
  void Changed();
  // Takes the source's counts and elements; nothing when the source is absent or, for
  // TIntMatrix, when one of the two is sparse and the other is not.
  void Clone(const TMatrixCore* MatSource);
  // One CRC-32 per byte of the element type over the elements, column by column.
  std::string CRCofData() const;

  void Fill(T value);
  void FillDiag(T value);  // elements (i, i); does nothing on a sparse matrix

  // Row (or column) clamped into the matrix, element range clamped with (0, 0) meaning all and
  // cut to the vector's length; the vector is zeroed, then receives the range from element 1.
  void CopyRowToVec(TVectorCore<T>* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const;
  void CopyColToVec(TVectorCore<T>* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const;
  // Copies the source block (bounds clamped into the source, swapped when reversed) so that its
  // first element lands at (DestCol, DestRow); writes outside this matrix are dropped.
  void CopyFrom(const TMatrixCore* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);

  // Scalar arithmetic on every element, one notification. On a sparse matrix SMult scales the
  // stored entries and SAdd does nothing (absent positions must stay 0).
  void SMult(T Scalar);
  void SAdd(T Scalar);
  // Element-wise; false and no change when MatB is absent or the counts differ. TIntMatrix: a
  // sparse MatB is added entry by entry into a dense matrix that covers its stored positions;
  // a sparse left operand gives false, and so does any sparse matrix in Subtract.
  bool Add(const TMatrixCore* MatB);
  bool Subtract(const TMatrixCore* MatB);
  // MatRes := this x MatB; MatRes must already have MatB's column count and this matrix's row
  // count. Each result element is written through SetElement (notifying MatRes), then this
  // matrix notifies. False and nothing written on a shape mismatch or a sparse operand.
  // Sums are extended precision for TMatrix, wrapping 32-bit for TIntMatrix.
  bool Multiply(const TMatrixCore* MatB, TMatrixCore* MatRes);
  // MatRes := transpose(this) x MatB, under the same rules.
  bool TransposeAndMultiply(const TMatrixCore* MatB, TMatrixCore* MatRes);
  // VecRes := transpose(this) x VecB; each partial sum is written to VecRes as it grows.
  bool TransposeAndMultiply(const TVectorCore<T>* VecB, TVectorCore<T>* VecRes);
  bool Transpose();

  // Dense storage, column-major: element (c, r) is Data()[(c - 1) * ColumnStride() + r - 1].
  // For the library's own loops; empty on a sparse matrix.
  T* Data() { return FMat.data(); }
  const T* Data() const { return FMat.data(); }
  std::size_t ColumnStride() const { return FStride; }

 protected:
  // Dense storage of Nc x Nr cells (each at least 1), all 0, checked against the storage limit.
  std::vector<T> NewStorage(int32_t Nc, int32_t Nr) const;
  [[noreturn]] void ThrowNoMemory() const;
  template <typename S>
  void CopyBlockFrom(const TMatrixCore<S>& Source, int32_t SourceColLo, int32_t SourceRowLo,
                     int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  void CloneSparse(const TMatrixCore& Source);
  void ResizeSparse(int32_t Nc, int32_t Nr);
  void SetSparseElement(int32_t Col, int32_t Row, T value);
  void FillSparse(T value);
  void AddSparse(const TMatrixCore& MatB);
  std::string SparseCRC() const;

  template <typename>
  friend class TMatrixCore;

  int32_t FNCol = 1;
  int32_t FNRow = 1;
  std::string FDataID;
  bool FIsSparse = false;
  std::size_t FStride = 1;  // rows of the dense storage: max(FNRow, 1)
  std::vector<T> FMat;
  [[no_unique_address]] std::conditional_t<kSparseCapable, TSparseIntStore, std::monostate> FSparse;
  TNotifyEvent FOnChange;
  TSortExchgEvent FOnSortExchange;
};

// The sparse operations exist for the integer matrix only.
template <> void TMatrixCore<int32_t>::CloneSparse(const TMatrixCore& Source);
template <> void TMatrixCore<int32_t>::ResizeSparse(int32_t Nc, int32_t Nr);
template <> void TMatrixCore<int32_t>::SetSparseElement(int32_t Col, int32_t Row, int32_t value);
template <> void TMatrixCore<int32_t>::FillSparse(int32_t value);
template <> void TMatrixCore<int32_t>::AddSparse(const TMatrixCore& MatB);
template <> std::string TMatrixCore<int32_t>::SparseCRC() const;

extern template class TMatrixCore<double>;
extern template class TMatrixCore<int32_t>;

class TMatrix : public TMatrixCore<double> {
 public:
  using TMatrixCore<double>::TMatrixCore;
  using TMatrixCore<double>::CopyFrom;

  const TOnCalcDistanceEvent& OnCalcDistance() const { return FOnCalcDistance; }
  void SetOnCalcDistance(TOnCalcDistanceEvent handler) { FOnCalcDistance = std::move(handler); }

  // From another TMatrix: counts, DataID, elements and the three event handlers, without
  // notification. Any other source throws EKVLMatrixError (the assignment is impossible).
  void Assign(const TComponent* Source);
  // Dest.Assign(this) when Dest is a TMatrix; otherwise throws as Assign does.
  void AssignTo(TComponent* Dest) const;

  // Column by column, row by row within a column, from the shared uniform generator.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  // Same order, from RandomGauss: g * StdDev + Mean.
  void FillRandomGauss(double Mean, double StdDev);

  // CopyFrom with an integer source, whose values are converted.
  void CopyFrom(const TMatrixCore<int32_t>* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  // Vector elements (clamped range) down column DestCol from row DestRow; writes outside this
  // matrix are dropped. Nothing when the vector is absent.
  void CopyFromVec(const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem,
                   int32_t DestCol, int32_t DestRow);

 private:
  TOnCalcDistanceEvent FOnCalcDistance;
};

class TIntMatrix : public TMatrixCore<int32_t> {
 public:
  using TMatrixCore<int32_t>::TMatrixCore;

  // A new empty sparse matrix (0 x 0) whose list grows by max(AllocBy, 1) entries, owned by
  // AOwner, or by the caller when AOwner is absent.
  static TIntMatrix* CreateSparse(TComponent* AOwner, int32_t AllocBy);

  // Dense to sparse, keeping the counts; nothing when already sparse. No notification.
  void ArrayToSparse(int32_t AllocBy);
  // Sparse to dense with the counts of the bounding box's high bounds (an empty list gives
  // 1 x 1); nothing when already dense. No notification.
  void SparseToArray();

  // Sparse bookkeeping (meaningful in sparse mode).
  const std::vector<TSpMatElemInt>& SparseEntries() const { return FSparse.Entries(); }
  int32_t SparseNumElem() const { return FSparse.NumElem(); }
  int32_t SparseNumAllocated() const { return FSparse.NumAllocated(); }
  int32_t SparseAllocBy() const { return FSparse.AllocBy(); }
  int32_t SparseLowCol() const { return FSparse.LowCol(); }
  int32_t SparseHighCol() const { return FSparse.HighCol(); }
  int32_t SparseLowRow() const { return FSparse.LowRow(); }
  int32_t SparseHighRow() const { return FSparse.HighRow(); }
};
