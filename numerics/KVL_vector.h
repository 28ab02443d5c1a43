// One-dimensional numeric arrays: TVector of doubles and TIntVector of 32-bit signed integers.
// Both are the class template TVectorCore written once; the two classes add what only they
// have. Indices are 1-based: valid elements are 1 .. NrOfElem(), and there is always at least one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

class TVector : public TVectorCore<double> {
 public:
  using TVectorCore<double>::TVectorCore;

  // Scales the vector to the given length; EKVLVectorError "vector has zero length" when its
  // length is 0.
  void SetLeng(double value);
};

class TIntVector : public TVectorCore<int32_t> {
 public:
  using TVectorCore<int32_t>::TVectorCore;
};
