// One-dimensional numeric arrays: TVector of doubles and TIntVector of 32-bit signed integers.
// Both are the class template TVectorCore written once; the two classes add what only they
// have. Indices are 1-based: valid elements are 1 .. NrOfElem(), and there is always at least one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KVL_bytestream.h"
#include "KVL_kvlbase.h"
#include "KVL_numcore.h"

// Change notification: the sender is the object that changed.
using TNotifyEvent = std::function<void(void* Sender)>;

template <typename T>
struct TVectorTraits;

template <>
struct TVectorTraits<double> {
  using Accum = long double;  // DotProduct and Correlate sum in extended precision
  static constexpr double kMinMaxLow = -1.7e308;
  static constexpr double kMinMaxHigh = 1.7e308;
};

template <>
struct TVectorTraits<int32_t> {
  using Accum = int32_t;  // sums wrap in 32 bits
  static constexpr int32_t kMinMaxLow = -2147483647;
  static constexpr int32_t kMinMaxHigh = 2147483647;
};

template <typename T>
class TVectorCore : public TComponent {
 public:
  using Elem = T;

  explicit TVectorCore(TComponent* AOwner = nullptr);

  int32_t NrOfElem() const { return FNElem; }
  // Grows the vector; a value of 0 or less, or not above the current count, is ignored.
  void SetNrOfElem(int32_t NE);

  // Element ix, or 0 when ix lies outside 1 .. NrOfElem (no error).
  T Element(int32_t ix) const { return IndexInRange(ix, FNElem) ? FVec[ix - 1] : T{0}; }
  // Stores the value and notifies; ignored (and silent) outside 1 .. NrOfElem.
  void SetElement(int32_t ix, T value);

  bool IsEmpty() const { return FIsEmpty; }
  void SetIsEmpty(bool value) { FIsEmpty = value; }

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
  const TSortExchgEvent& OnSortExchange() const { return FOnSortExchange; }
  void SetOnSortExchange(TSortExchgEvent handler) { FOnSortExchange = std::move(handler); }

  // Euclidean length: square root of the sum of the squared elements.
  double Leng() const;

  // New count NE >= 1: elements up to min(old, NE) are kept, new ones are 0. Returns false for
  // NE <= 0; true without notification when NE is the current count. Throws EKVLVectorError
  // "not enough memory" and keeps the vector when the storage cannot be obtained.
  bool Resize(int32_t NE);
  void Changed();
  void Clear();         // every element 0, IsEmpty true, one notification
  void Fill(T value);   // every element value, IsEmpty false, one notification

  // Takes the source's count and elements (each copied through SetElement); nothing when absent.
  void Clone(const TVectorCore* VecSource);
  // Copies source elements SourceElemLo .. SourceElemHi (clamped, swapped when reversed) to
  // DestElem onwards; writes beyond this vector are dropped. Nothing when the source is absent.
  void CopyFrom(const TVectorCore* VecSource, int32_t SourceElemLo, int32_t SourceElemHi,
                int32_t DestElem);

  // Element-wise arithmetic into this vector with one notification; nothing when OtherVec is
  // absent; EKVLVectorError "vectors have different dimensions" when the counts differ.
  void Add(const TVectorCore* OtherVec);
  void Subtract(const TVectorCore* OtherVec);
  void SMult(T scalar);

  // Sum of the element-wise products; 0 when OtherVec is absent; counts must match (as Add).
  T DotProduct(const TVectorCore* OtherVec) const;
  // Sum over i of this[i] * other[i + ElemShift], reading 0 outside the other vector.
  T Correlate(const TVectorCore* OtherVec, int32_t ElemShift) const;
  // Throws EKVLVectorError when the counts differ.
  double EuclideanDistance(const TVectorCore& OtherVec) const;

  // Index of the element nearest to value over the range (zero meaning all); the first of
  // equally near elements wins.
  int32_t Find(int32_t LowElem, int32_t HighElem, T value) const;
  // Binary search in a vector sorted in the given direction: an index holding Value, or the
  // nearer of the last two candidates (the upper one on a tie).
  int32_t FindInSortedVector(bool Ascending, T Value) const;
  void MinMax(int32_t LowElem, int32_t HighElem, T& Minimum, T& Maximum) const;

  // One CRC-32 per byte of the element type, 8 hexadecimal digits each.
  std::string CRCofData() const;

  // ---- statistics and sorting (KVL_vector_sort.cpp, KVL_vector_stats.cpp,
  // KVL_vector_rankstats.cpp) ----
  // Ranges (LowElem, HighElem) are clamped to 1 .. NrOfElem, so (0, 0) is element 1 alone.

  // Comb sort of RangeFirst .. RangeLast in place; OnSortExchange after every exchange, one
  // OnChange at the end, nothing at all for a range of one element.
  void SortElems(bool Ascending, int32_t RangeFirst, int32_t RangeLast);
  void Mirror();        // reverses the order; one OnChange
  void ShuffleElems();  // re-seeds the shared generator, then random exchanges; no notification

  // The value of the longest run of equal values (the smallest among equally long runs).
  T Mode(int32_t LowElem, int32_t HighElem) const;
  // Always true. Quartiles interpolated at positions (n + 1) p of the sorted range.
  bool Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2, double& Q3) const;
  // prob in percent, clamped to 0 .. 100; linear interpolation at prob (n - 1) / 100.
  double Percentile(double prob, int32_t LowElem, int32_t HighElem) const;
  // Mean and sample variance; under three elements the variance is reported as 1.
  void MeanVar(int32_t LowElem, int32_t HighElem, double& Mean, double& Variance) const;
  // 0 when an element is 0; EKVLVectorError for a negative element.
  double GeometricMean(int32_t LowElem, int32_t HighElem) const;
  // EKVLVectorError for an element <= 0.
  double HarmonicMean(int32_t LowElem, int32_t HighElem) const;
  // Extended precision for doubles; integers wrap in 32 bits.
  T Sum(int32_t LowElem, int32_t HighElem) const;
  // Moment skewness and excess kurtosis (third and fourth moments over the sample standard
  // deviation); both 0 for fewer than 4 elements or no spread.
  void SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness, double& Kurtosis) const;
  // The same with the small-sample corrections.
  void SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness,
                      double& Kurtosis) const;
  // ---- end of statistics and sorting ----

  // ---- persistence (KVL_vector_io.cpp; formats in docs/MATRIX_FORMATS.md) ----
  // Reads a text file of StoreOnFile: two integers first and last, then last - first + 1
  // numbers, all separated by any white space. Each number goes to Element[i] (notifying); a
  // word that is not a number is skipped and leaves its element as it was. With
  // AdjustVectorSize the vector is first resized to last elements. False, changing no element,
  // when the file cannot be opened, the header is not 1 <= first <= last + 1 (the latter an
  // empty range), the file is too small for what the header states, the file ends before the
  // last number, or the vector has fewer than last elements. OnChange is called at the end
  // whenever the header was read.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize);
  // Raw little-endian stream at the stream's position: first index, last index, then the values
  // of the range (clamped, (0, 0) meaning all); TVector writes every item as a 10-byte extended
  // float, TIntVector as a 4-byte integer. An absent memory stream is created and handed back.
  // Errors of a file stream propagate (EFileError).
  void SaveToStream(std::unique_ptr<TMemoryStream>& OutStream, int32_t LowElem,
                    int32_t HighElem) const;
  void SaveToStream(TStream& OutStream, int32_t LowElem, int32_t HighElem) const;
  // Reads what SaveToStream wrote, from the stream's position. False when InStream is absent,
  // the indices are not 1 <= first <= last + 1, the stream holds fewer values than they state
  // (nothing is read or resized), or the vector has fewer than last elements. With
  // AdjustVectorSize the vector is first resized to last elements. OnChange at the end whenever
  // the indices were read.
  bool LoadFromStream(TStream* InStream, bool AdjustVectorSize);
  // ---- end of persistence ----

  // The contiguous storage of elements 1 .. NrOfElem, for the library's own loops.
  T* Data() { return FVec.data(); }
  const T* Data() const { return FVec.data(); }

 protected:
  void CheckSameCount(const TVectorCore& OtherVec) const;

  int32_t FNElem = 1;
  bool FIsEmpty = true;
  std::vector<T> FVec;
  TNotifyEvent FOnChange;
  TSortExchgEvent FOnSortExchange;
};

extern template class TVectorCore<double>;
extern template class TVectorCore<int32_t>;

class TIntVector;  // holds the bins of TVector::Histogram

class TVector : public TVectorCore<double> {
 public:
  using TVectorCore<double>::TVectorCore;

  // Scales the vector to the given length; EKVLVectorError "vector has zero length" when its
  // length is 0.
  void SetLeng(double value);

  // ---- statistics (KVL_vector_stats.cpp, KVL_vector_histogram.cpp) ----
  // Counts elements FirstElem .. LastElem (not clamped; outside indices read 0) into bins of
  // BinWidth from FirstBin on. False, changing nothing, when more than 501 bins would be needed
  // or BinWidth is not positive.
  bool Histogram(int32_t FirstElem, int32_t LastElem, double FirstBin, double LastBin,
                 double BinWidth, TIntVector& Histo, int32_t& Underflow, int32_t& Overflow,
                 int32_t& MaxCnt) const;
  double MeanCenter();  // subtracts the mean and returns it; no notification
  // Shifts and scales to mean 0 and standard deviation 1 (unchanged without spread); no
  // notification.
  void Standardize(double& mean, double& stddev);
  // ---- end of statistics ----

  // ---- persistence (KVL_vector_io.cpp) ----
  // Text file of the elements FirstElem .. LastElem (swapped when reversed, then clamped into
  // the vector): a line "first last", then one value per line. Precision 0 .. 20 gives fixed
  // notation with that many decimals, -1 scientific notation with 5 significant digits, -2 with
  // 18; above 20 counts as 20, below -2 as 2. The file is replaced atomically: false, with the
  // previous file kept, when it cannot be written.
  bool StoreOnFile(int32_t FirstElem, int32_t LastElem, int32_t Precision,
                   const std::string& FileName) const;
  // ---- end of persistence ----
};

class TIntVector : public TVectorCore<int32_t> {
 public:
  using TVectorCore<int32_t>::TVectorCore;

  // ---- persistence (KVL_vector_io.cpp) ----
  // As TVector::StoreOnFile, with the values as decimal integers.
  bool StoreOnFile(int32_t FirstElem, int32_t LastElem, const std::string& FileName) const;
  // ---- end of persistence ----
};
