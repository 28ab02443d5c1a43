#include "KVL_vector.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "KVL_crclanes.h"

namespace {

// |a - b| as a double, without overflow for integers.
double Distance(double a, double b) { return std::fabs(a - b); }
double Distance(int32_t a, int32_t b) {
  return std::fabs(static_cast<double>(static_cast<int64_t>(a) - static_cast<int64_t>(b)));
}

}  // namespace

template <typename T>
TVectorCore<T>::TVectorCore(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FVec.assign(1, T{0});
  } catch (const std::bad_alloc&) {
    throw EKVLVectorError(ComponentMessage(Name(), "not enough memory on heap"));
  }
}

template <typename T>
void TVectorCore<T>::SetNrOfElem(int32_t NE) {
  if (NE > FNElem) Resize(NE);
}

template <typename T>
void TVectorCore<T>::SetElement(int32_t ix, T value) {
  if (!IndexInRange(ix, FNElem)) return;
  FVec[ix - 1] = value;
  FIsEmpty = false;
  Changed();
}

template <typename T>
double TVectorCore<T>::Leng() const {
  long double sum = 0;
  for (T x : FVec) sum += static_cast<long double>(x) * static_cast<long double>(x);
  return static_cast<double>(std::sqrt(sum));
}

template <typename T>
bool TVectorCore<T>::Resize(int32_t NE) {
  if (NE == FNElem) return true;
  if (NE <= 0) return false;
  if (!StorageFits(static_cast<std::size_t>(NE), sizeof(T)))
    throw EKVLVectorError(ComponentMessage(Name(), "not enough memory"));
  try {
    FVec.resize(static_cast<std::size_t>(NE), T{0});
  } catch (const std::bad_alloc&) {  // std::vector::resize leaves the vector as it was
    throw EKVLVectorError(ComponentMessage(Name(), "not enough memory"));
  }
  FNElem = NE;
  Changed();
  return true;
}

template <typename T>
void TVectorCore<T>::Changed() {
  if (FOnChange) FOnChange(this);
}

template <typename T>
void TVectorCore<T>::Clear() {
  std::fill(FVec.begin(), FVec.end(), T{0});
  FIsEmpty = true;
  Changed();
}

template <typename T>
void TVectorCore<T>::Fill(T value) {
  std::fill(FVec.begin(), FVec.end(), value);
  FIsEmpty = false;
  Changed();
}

template <typename T>
void TVectorCore<T>::Clone(const TVectorCore* VecSource) {
  if (!VecSource) return;
  Resize(VecSource->FNElem);
  for (int32_t i = 1; i <= VecSource->FNElem; ++i) SetElement(i, VecSource->FVec[i - 1]);
  Changed();
}

template <typename T>
void TVectorCore<T>::CopyFrom(const TVectorCore* VecSource, int32_t SourceElemLo,
                              int32_t SourceElemHi, int32_t DestElem) {
  if (!VecSource) return;
  ClampRange(SourceElemLo, SourceElemHi, VecSource->FNElem);
  // The range is read whole before anything is written, so a copy within one vector does not
  // read elements it has already overwritten.
  const std::vector<T> range(VecSource->FVec.begin() + (SourceElemLo - 1),
                             VecSource->FVec.begin() + SourceElemHi);
  // The destination index in 64 bits: a DestElem near the int32 limits must not wrap into range.
  const int64_t offset = static_cast<int64_t>(DestElem) - SourceElemLo;
  for (int32_t s = SourceElemLo; s <= SourceElemHi; ++s) {
    const int64_t dest = s + offset;
    if (dest >= 1 && dest <= FNElem) SetElement(static_cast<int32_t>(dest), range[s - SourceElemLo]);
  }
  Changed();
}

template <typename T>
void TVectorCore<T>::CheckSameCount(const TVectorCore& OtherVec) const {
  if (OtherVec.FNElem != FNElem)
    throw EKVLVectorError(ComponentMessage(Name(), "vectors have different dimensions"));
}

template <typename T>
void TVectorCore<T>::Add(const TVectorCore* OtherVec) {
  if (!OtherVec) return;
  CheckSameCount(*OtherVec);
  for (std::size_t i = 0; i < FVec.size(); ++i) FVec[i] = ArithAdd(FVec[i], OtherVec->FVec[i]);
  Changed();
}

template <typename T>
void TVectorCore<T>::Subtract(const TVectorCore* OtherVec) {
  if (!OtherVec) return;
  CheckSameCount(*OtherVec);
  for (std::size_t i = 0; i < FVec.size(); ++i) FVec[i] = ArithSub(FVec[i], OtherVec->FVec[i]);
  Changed();
}

template <typename T>
void TVectorCore<T>::SMult(T scalar) {
  for (T& x : FVec) x = ArithMul(x, scalar);
  Changed();
}

template <typename T>
T TVectorCore<T>::DotProduct(const TVectorCore* OtherVec) const {
  if (!OtherVec) return T{0};
  CheckSameCount(*OtherVec);
  using Accum = typename TVectorTraits<T>::Accum;
  Accum sum{0};
  for (std::size_t i = 0; i < FVec.size(); ++i)
    sum = ArithAdd(sum, ArithMul(Accum(FVec[i]), Accum(OtherVec->FVec[i])));
  return static_cast<T>(sum);
}

template <typename T>
T TVectorCore<T>::Correlate(const TVectorCore* OtherVec, int32_t ElemShift) const {
  if (!OtherVec) return T{0};
  using Accum = typename TVectorTraits<T>::Accum;
  Accum sum{0};
  for (int32_t i = 1; i <= FNElem; ++i) {
    const int64_t j = static_cast<int64_t>(i) + ElemShift;
    if (j < 1 || j > OtherVec->FNElem) continue;  // reads 0 there
    sum = ArithAdd(sum, ArithMul(Accum(FVec[i - 1]), Accum(OtherVec->FVec[j - 1])));
  }
  return static_cast<T>(sum);
}

template <typename T>
double TVectorCore<T>::EuclideanDistance(const TVectorCore& OtherVec) const {
  if (OtherVec.FNElem != FNElem)
    throw EKVLVectorError("EuclideanDistance: dimensions of vectors do not match");
  long double sum = 0;
  for (std::size_t i = 0; i < FVec.size(); ++i) {
    const double d = Distance(FVec[i], OtherVec.FVec[i]);
    sum += static_cast<long double>(d) * d;
  }
  return static_cast<double>(std::sqrt(sum));
}

template <typename T>
int32_t TVectorCore<T>::Find(int32_t LowElem, int32_t HighElem, T value) const {
  ClampRangeZeroAll(LowElem, HighElem, FNElem);
  double best = 1.7e308;
  int32_t result = 0;
  for (int32_t i = LowElem; i <= HighElem; ++i) {
    const double d = Distance(FVec[i - 1], value);
    if (d < best) {
      best = d;
      result = i;
    }
  }
  return result;
}

template <typename T>
int32_t TVectorCore<T>::FindInSortedVector(bool Ascending, T Value) const {
  int32_t lo = 1;
  int32_t hi = FNElem;
  while (hi - lo >= 2) {
    const int32_t mid = lo + (hi - lo) / 2;
    const T x = FVec[mid - 1];
    if (x == Value) return mid;
    const bool below = Value < x;
    if (below != Ascending)
      lo = mid;
    else
      hi = mid;
  }
  return Distance(FVec[hi - 1], Value) > Distance(FVec[lo - 1], Value) ? lo : hi;
}

template <typename T>
void TVectorCore<T>::MinMax(int32_t LowElem, int32_t HighElem, T& Minimum, T& Maximum) const {
  Minimum = TVectorTraits<T>::kMinMaxHigh;
  Maximum = TVectorTraits<T>::kMinMaxLow;
  ClampRange(LowElem, HighElem, FNElem);
  for (int32_t i = LowElem; i <= HighElem; ++i) {
    const T x = FVec[i - 1];
    if (x < Minimum) Minimum = x;
    if (x > Maximum) Maximum = x;
  }
}

template <typename T>
std::string TVectorCore<T>::CRCofData() const {
  TLaneCrc32<T> crc;
  crc.Absorb(FVec.data(), FVec.size());
  return crc.Text();
}

template class TVectorCore<double>;
template class TVectorCore<int32_t>;

void TVector::SetLeng(double value) {
  const double length = Leng();
  if (length == 0) throw EKVLVectorError("vector has zero length");
  const double factor = value / length;
  for (double& x : FVec) x *= factor;
  Changed();
}
