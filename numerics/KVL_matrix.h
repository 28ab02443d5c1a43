// Two-dimensional numeric arrays: TMatrix of doubles and TIntMatrix of 32-bit signed integers,
// which can also hold its nonzero entries as a sparse list. Both are the class template
// TMatrixCore written once. Elements are addressed as (column, row), both 1-based; storage is
// one contiguous column-major block of max(columns, 1) x max(rows, 1) cells.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "KVL_kvlbase.h"
#include "KVL_matrix_sparse.h"
#include "KVL_numcore.h"
#include "KVL_textfile.h"
#include "KVL_vector.h"

using TOnCalcDistanceEvent =
    std::function<void(void* Sender, int32_t Row1, int32_t Row2, double& Distance)>;

// ---- matrix algebra: norm and distance choices ----
enum TNormType : uint8_t { ntColwise, ntRowwise, ntSpectral, ntFrobenius };
enum TDistMode : uint8_t { dmJaccard, dmManhattan, dmEuclid, dmEuclidSqr, dmDice, dmUserDef };
// ---- end of matrix algebra choices ----

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

  // ---- matrix algebra: trace, reordering, searching, block statistics ----
  // (KVL_matrix_algebra.cpp, KVL_matrix_sort.cpp, KVL_matrix_stats.cpp)
  // A block (LowCol, LowRow, HighCol, HighRow) takes each of its two ranges as a clamped range
  // in which (0, 0) means all; the elements are visited column by column.
 public:
  // Sum of the diagonal of a square matrix, else 0. Sparse: the stored diagonal entries when the
  // bounding box's high column and row agree, else 0.
  T Trace() const;

  // Comb sort of the rows LowRow .. HighRow by column SortColIx. Each exchange swaps the columns
  // LowCol .. HighCol (and the key column) and raises OnSortExchange(2, i, j, LowCol, HighCol);
  // one notification at the end. SortCols is the same for columns keyed by row SortRowIx
  // (OnSortExchange(1, i, j, LowRow, HighRow)). A sparse matrix is left alone.
  void SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  void SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  // Reverse or swap whole columns / rows and notify; invalid indices and sparse matrices are
  // left alone.
  void MirrorColumns();
  void MirrorRows();
  void ExchangeColumns(int32_t c1, int32_t c2);
  void ExchangeRows(int32_t r1, int32_t r2);

  // Position of the element nearest to Value in the block (note the order of the bounds); the
  // first of equally near elements wins; (0, 0) when none is nearer than 1.7e308.
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, T Value,
            int32_t& ColIx, int32_t& RowIx) const;
  // Binary search down column Col sorted in the given direction: a row holding Value, or the
  // nearer of the last two candidates (the later row on a tie). 0 for an invalid column.
  int32_t FindInSortedColumn(int32_t Col, bool ColIsAscending, T Value) const;

  // Smallest and largest element; an empty block leaves the type's extreme start values.
  void MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, T& Minimum,
              T& Maximum) const;
  // Extended precision for TMatrix, wrapping 32-bit for TIntMatrix.
  T Sum(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // Variance (n - 1 denominator) is 1 for fewer than 3 elements; an empty block has mean 0.
  void MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
               double& Variance) const;
  // 0 when an element is 0; EKVLMatrixError for a negative element.
  double GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // EKVLMatrixError for an element <= 0.
  double HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // Population skewness and excess kurtosis from 2 elements on (both 0 below).
  void SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                double& Skewness, double& Kurtosis) const;
  // With the sample corrections; both 0 for fewer than 4 elements.
  void SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                      double& Skewness, double& Kurtosis) const;
  // From a sorted copy of the block; false (and all 0) for an empty block.
  bool Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1,
                 double& Q2, double& Q3) const;
  // prob in percent, clamped into 0 .. 100; 0 for an empty block.
  double Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow) const;

 protected:
  // Calls Visit(x) for every element of the block (sparse: for the stored entries inside it)
  // and returns the number of absent positions of a sparse block, which read 0.
  template <typename F>
  int64_t VisitBlock(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                     F&& Visit) const;
  // The block's values, absent sparse positions included, sorted ascending.
  std::vector<T> SortedBlock(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                             int32_t HighRow) const;
  // ---- end of matrix algebra: trace, reordering, searching, block statistics ----

  // ---- persistence (KVL_matrix_io.cpp, KVL_matrix_io_xml.cpp; formats in
  // docs/MATRIX_FORMATS.md) ----
  // A block (LoC, LoR, HiC, HiR) takes each of its two ranges as a clamped range in which (0, 0)
  // means all. Loaders leave the matrix unchanged when they answer false; they refuse a source
  // that is malformed, truncated, or states a size its length cannot justify.
 public:
  // Text file: a line "LoC LoR HiC HiR", then one line per row of the block. Replaced
  // atomically: false, with the previous file kept, when it cannot be written.
  bool StoreOnFile(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR,
                   const std::string& FileName) const;
  // Puts a block of StoreOnFile back at its positions; with AdjustMatrixSize the matrix is first
  // resized to (HiC, HiR), otherwise it must hold the block. Notifies once.
  bool LoadFromFile(const std::string& FileName, bool AdjustMatrixSize);
  // Raw little-endian stream at the stream's position: the four bounds, then the block column
  // by column; TMatrix writes every item as a 10-byte extended float, TIntMatrix as a 4-byte
  // integer. An absent memory stream is created and handed back; file stream errors propagate.
  void SaveToStream(std::unique_ptr<TMemoryStream>& OutStream, int32_t LoC, int32_t LoR,
                    int32_t HiC, int32_t HiR) const;
  void SaveToStream(TStream& OutStream, int32_t LoC, int32_t LoR, int32_t HiC,
                    int32_t HiR) const;
  // As LoadFromFile, from the stream's position; false when InStream is absent.
  bool LoadFromStream(TStream* InStream, bool AdjustMatrixSize);
  // XML data block of the whole matrix: root tag "matrix" (TIntMatrix: "intmatrix") with the
  // identifier DataID and the counts, one <col> element per column. CreateHeader writes the
  // XML declaration line first.
  void WriteToXMLStream(TStream& OutStream, bool CreateHeader, const std::string& DataID) const;
  void WriteToOpenXMLFile(TTextFile& OutFile, bool CreateHeader,
                          const std::string& DataID) const;
  // Reads the block with the identifier DataID (any case; empty: the first block) from the
  // source's position: its counts, elements and identifier (which becomes DataID()). Notifies
  // once.
  bool ReadFromXMLStream(TStream& InStream, const std::string& DataID);
  bool ReadFromOpenXMLFile(TTextFile& InFile, const std::string& DataID);
  // A file holding the one block after the declaration, replaced atomically (EFileError when it
  // cannot be written; the previous file is then kept).
  void SaveAsXMLFile(const std::string& FName, const std::string& DataID) const;
  // False also when the file cannot be opened.
  bool LoadFromXMLFile(const std::string& FName, const std::string& DataID);

 protected:
  // Takes Values (the block LoC .. HiC x LoR .. HiR, column by column) into the matrix, writing
  // the storage directly; a sparse matrix stores the nonzero values and updates present
  // entries. The caller has checked that the matrix holds the block.
  void StoreLoadedBlock(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR,
                        const std::vector<T>& Values);
  // Becomes an Nc x Nr matrix named Id holding Values (column by column); notifies once.
  void TakeLoadedMatrix(int32_t Nc, int32_t Nr, const std::string& Id,
                        const std::vector<T>& Values);
  // ---- end of persistence ----
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

  // ---- matrix algebra: decompositions, norms, multivariate operations, histogram ----
  // (KVL_matrix_algebra.cpp, KVL_matrix_multivar.cpp, KVL_matrix_stats.cpp)
  // Crout decomposition with implicit scaled partial pivoting of a square matrix, which stays
  // unchanged: MatL (unit diagonal) x MatU equals the matrix with its rows permuted. False when
  // the matrix is not square, MatL or MatU is absent, a row is zero or a pivot is below 1e-100.
  bool LUdecomposition(TMatrix* MatL, TMatrix* MatU) const;
  // 0 when the decomposition fails.
  double Determinant() const;
  // Replaces a square matrix by its inverse and notifies; false (matrix unchanged) when it is
  // not square, has a zero row or a pivot below 1e-100.
  bool Invert();
  // Largest column or row sum of |elements|, largest singular value, or Frobenius norm; 0 for
  // any other value. ntSpectral throws EKVLMatrixError when the decomposition fails.
  double Norm(TNormType nt) const;
  // Distances between the rows into the square DMat of one row and column per row: status 0,
  // -1 when DMat is absent or not square, -2 when its size differs from the number of rows.
  int32_t CalcDistMat(TDistMode Mode, TMatrix* DMat);
  // Pearson correlation of all element pairs; EKVLMatrixError when the counts differ.
  double Correlate(const TMatrix* OtherMat) const;
  // Each column (row) becomes (x - mean) / sqrt(variance) when the variance is positive; the
  // means and standard deviations go to the vectors that are given. One notification.
  void StandardizeColumns(TVector* Means, TVector* StdDevs);
  void StandardizeRows(TVector* Means, TVector* StdDevs);
  void MeanCenterColumns(TVector* Means);
  void MeanCenterRows(TVector* Means);
  // Counts the elements of columns LoX .. HiX, rows LoY .. HiY (indices outside read 0) into
  // bins of BinWidth from FirstBin; false for more than 500 bins, a width that is not positive
  // or an absent Histo.
  bool Histogram(int32_t LoX, int32_t LoY, int32_t HiX, int32_t HiY, double FirstBin,
                 double LastBin, double BinWidth, TIntVector* Histo, int32_t& Underflow,
                 int32_t& Overflow, int32_t& MaxCnt) const;
  // ---- end of matrix algebra: decompositions, norms, multivariate operations, histogram ----

  // ---- persistence: binary file (KVL_matrix_io_binary.cpp) ----
  // The whole matrix and its DataID in one file (layout in docs/MATRIX_FORMATS.md), replaced
  // atomically: EFileError when it cannot be written, the previous file being kept.
  void SaveBinary(const std::string& FName) const;
  // False, leaving the matrix unchanged, for a file that cannot be opened or is not a complete
  // matrix file; otherwise takes counts, DataID and elements, and notifies once.
  bool LoadBinary(const std::string& FName);
  // The counts and identifier of a binary matrix file from its header alone; false (outputs
  // untouched) when the file cannot be opened or its header is not valid.
  static bool ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows,
                               std::string& DataID);
  // ---- end of persistence: binary file ----

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

  // ---- persistence: sparse-matrix file (KVL_matrix_io_sparse.cpp) ----
  // Text file of the counts and the stored entries "col row value" in (column, row) order; a
  // dense matrix writes its nonzero elements. Replaced atomically: false, with the previous file
  // kept, when it cannot be written.
  bool StoreSparseMat(const std::string& FileName) const;
  // Makes the matrix sparse with the file's counts and entries (growth step kept when it was
  // sparse, else 1); notifies once. False, leaving the matrix unchanged, for a file that cannot
  // be opened or is malformed (entries outside the counts, out of order or repeated).
  bool LoadSparseMat(const std::string& FileName);
  // ---- end of persistence: sparse-matrix file ----
};
