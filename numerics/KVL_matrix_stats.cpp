// Block statistics of TMatrix and TIntMatrix: the formulas of the vector statistics over the
// elements of a block, taken column by column, and the histogram of TMatrix. A sparse integer
// matrix takes part with its absent positions counted as zeros, without visiting them.
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <span>

#include "KVL_matrix.h"
#include "KVL_matrix_block.h"
#include "KVL_quartile.h"
#include "KVL_univconst.h"

namespace {

// Histograms with more bins than this are refused.
constexpr double kMaxHistogramBins = 500;

template <typename T>
struct TMinMaxStart {
  // The type's extremes, so that every element can replace them.
  static constexpr T kLow = std::numeric_limits<T>::has_infinity ? -std::numeric_limits<T>::infinity()
                                                                 : std::numeric_limits<T>::lowest();
  static constexpr T kHigh = std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity()
                                                                  : std::numeric_limits<T>::max();
};

struct TSkewKurt {
  double Skewness = 0;
  double Kurtosis = 0;
  int64_t Count = 0;
};

// Population skewness and excess kurtosis of the values Visit presents (Visit(f) calls f for each
// stored value and returns the number of further zeros); both 0 below MinCount values or when
// the values do not vary. The deviations from the mean are rounded to double before they are
// raised to their powers.
template <typename VisitFn>
TSkewKurt SkewKurtCore(VisitFn Visit, int64_t MinCount) {
  TSkewKurt result;
  long double sum = 0;
  int64_t n = 0;
  const int64_t zeros = Visit([&](auto x) {
    sum += x;
    ++n;
  });
  n += zeros;
  result.Count = n;
  if (n < MinCount || n < 2) return result;
  const long double mean = sum / n;
  long double s1 = 0, s2 = 0, s3 = 0, s4 = 0;
  const auto add = [&](double d, long double weight) {
    const long double d2 = static_cast<long double>(d) * d;
    s1 += weight * d;
    s2 += weight * d2;
    s3 += weight * d2 * d;
    s4 += weight * d2 * d2;
  };
  Visit([&](auto x) { add(static_cast<double>(x - mean), 1); });
  if (zeros > 0) add(static_cast<double>(-mean), static_cast<long double>(zeros));
  const long double s = std::sqrt((s2 - s1 * s1 / n) / (n - 1));
  if (s != 0) {
    result.Skewness = static_cast<double>(s3 / n / (s * s * s));
    result.Kurtosis = static_cast<double>(s4 / n / (s * s * s * s) - 3);
  }
  return result;
}

}  // namespace

template <typename T>
template <typename F>
int64_t TMatrixCore<T>::VisitBlock(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                   F&& Visit) const {
  const bool hasCols = NormaliseBlockRange(LowCol, HighCol, FNCol);
  const bool hasRows = NormaliseBlockRange(LowRow, HighRow, FNRow);
  if (!hasCols || !hasRows) return 0;
  if constexpr (kSparseCapable) {
    if (FIsSparse) {
      int64_t stored = 0;
      for (const TSpMatElemInt& entry : FSparse.Entries()) {
        if (entry.colidx < LowCol || entry.colidx > HighCol || entry.rowidx < LowRow ||
            entry.rowidx > HighRow)
          continue;
        Visit(entry.value);
        ++stored;
      }
      return static_cast<int64_t>(HighCol - LowCol + 1) * (HighRow - LowRow + 1) - stored;
    }
  }
  for (int32_t c = LowCol; c <= HighCol; ++c) {
    const T* col = FMat.data() + static_cast<std::size_t>(c - 1) * FStride;
    for (int32_t r = LowRow - 1; r < HighRow; ++r) Visit(col[r]);
  }
  return 0;
}

template <typename T>
std::vector<T> TMatrixCore<T>::SortedBlock(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                           int32_t HighRow) const {
  int32_t lowCol = LowCol, highCol = HighCol, lowRow = LowRow, highRow = HighRow;
  const bool hasCols = NormaliseBlockRange(lowCol, highCol, FNCol);
  const bool hasRows = NormaliseBlockRange(lowRow, highRow, FNRow);
  const std::size_t count = hasCols && hasRows ? static_cast<std::size_t>(highCol - lowCol + 1) *
                                                     static_cast<std::size_t>(highRow - lowRow + 1)
                                               : 0;
  if (!StorageFits(count, sizeof(T))) ThrowNoMemory();
  std::vector<T> values;
  try {
    values.reserve(count);
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  const int64_t zeros = VisitBlock(LowCol, LowRow, HighCol, HighRow, [&](T x) { values.push_back(x); });
  values.insert(values.end(), static_cast<std::size_t>(zeros), T{0});
  if constexpr (std::is_same_v<T, double>)
    CombSortDoubles(std::span<double>(values), true);
  else
    CombSortIntegers(std::span<int32_t>(values), true);
  return values;
}

template <typename T>
void TMatrixCore<T>::MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                            T& Minimum, T& Maximum) const {
  Minimum = TMinMaxStart<T>::kHigh;
  Maximum = TMinMaxStart<T>::kLow;
  const auto consider = [&](T x) {
    if (x < Minimum) Minimum = x;
    if (x > Maximum) Maximum = x;
  };
  if (VisitBlock(LowCol, LowRow, HighCol, HighRow, consider) > 0) consider(T{0});
}

template <typename T>
T TMatrixCore<T>::Sum(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  using Accum = typename TVectorTraits<T>::Accum;
  Accum sum{0};
  VisitBlock(LowCol, LowRow, HighCol, HighRow, [&](T x) { sum = ArithAdd(sum, static_cast<Accum>(x)); });
  return static_cast<T>(sum);
}

template <typename T>
void TMatrixCore<T>::MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                             double& Mean, double& Variance) const {
  long double sum = 0;
  int64_t n = 0;
  const auto visit = [&](auto&& f) { return VisitBlock(LowCol, LowRow, HighCol, HighRow, f); };
  const int64_t zeros = visit([&](T x) {
    sum += x;
    ++n;
  });
  n += zeros;
  const long double mean = n > 0 ? sum / n : 0;
  Mean = static_cast<double>(mean);
  Variance = 1;
  if (n < 3) return;
  // Squared deviations from the mean: the same value as sum(x^2) - sum(x)^2 / n, without its
  // cancellation, so the variance cannot come out negative.
  long double squares = static_cast<long double>(zeros) * mean * mean;
  visit([&](T x) {
    const long double d = x - mean;
    squares += d * d;
  });
  Variance = static_cast<double>(squares / (n - 1));
}

template <typename T>
double TMatrixCore<T>::GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                     int32_t HighRow) const {
  long double logSum = 0;
  int64_t n = 0;
  bool hasZero = false;
  const int64_t zeros = VisitBlock(LowCol, LowRow, HighCol, HighRow, [&](T x) {
    ++n;
    if (x < 0)
      throw EKVLMatrixError(ComponentMessage(Name(), "negative argument passed to GeometricMean"));
    if (x == 0)
      hasZero = true;
    else
      logSum += std::log(static_cast<double>(x));
  });
  if (zeros > 0 || hasZero || n == 0) return 0.0;
  return std::exp(static_cast<double>(logSum / n));
}

template <typename T>
double TMatrixCore<T>::HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                    int32_t HighRow) const {
  const auto fail = [this]() {
    return EKVLMatrixError(ComponentMessage(Name(), "negative or zero argument passed to HarmonicMean"));
  };
  long double reciprocals = 0;
  int64_t n = 0;
  const int64_t zeros = VisitBlock(LowCol, LowRow, HighCol, HighRow, [&](T x) {
    if (!(x > 0)) throw fail();
    reciprocals += 1.0L / x;
    ++n;
  });
  if (zeros > 0) throw fail();
  return n > 0 ? static_cast<double>(n / reciprocals) : 0.0;
}

template <typename T>
void TMatrixCore<T>::SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                              double& Skewness, double& Kurtosis) const {
  const TSkewKurt core = SkewKurtCore(
      [&](auto&& f) { return VisitBlock(LowCol, LowRow, HighCol, HighRow, f); }, 2);
  Skewness = core.Skewness;
  Kurtosis = core.Kurtosis;
}

template <typename T>
void TMatrixCore<T>::SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                    int32_t HighRow, double& Skewness, double& Kurtosis) const {
  const TSkewKurt core = SkewKurtCore(
      [&](auto&& f) { return VisitBlock(LowCol, LowRow, HighCol, HighRow, f); }, 4);
  Skewness = 0;
  Kurtosis = 0;
  if (core.Count < 4) return;
  const double n = static_cast<double>(core.Count);
  Kurtosis = (core.Kurtosis + 3) * n * n * (n + 1) / ((n - 1) * (n - 2) * (n - 3)) -
             3 * (n - 1) * (n - 1) / ((n - 2) * (n - 3));
  Skewness = core.Skewness * n * n / ((n - 1) * (n - 2));
}

template <typename T>
bool TMatrixCore<T>::Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                               double& Q1, double& Q2, double& Q3) const {
  const std::vector<T> x = SortedBlock(LowCol, LowRow, HighCol, HighRow);
  const auto n = static_cast<int64_t>(x.size());
  Q1 = Q2 = Q3 = 0;
  if (n == 0) return false;
  Q1 = QuartileOfSorted(x.data(), n, 0.25);
  Q2 = QuartileOfSorted(x.data(), n, 0.5);
  Q3 = QuartileOfSorted(x.data(), n, 0.75);
  return true;
}

template <typename T>
double TMatrixCore<T>::Percentile(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                                  int32_t HighRow) const {
  const std::vector<T> x = SortedBlock(LowCol, LowRow, HighCol, HighRow);
  const auto n = static_cast<int64_t>(x.size());
  if (n == 0) return 0.0;
  prob = std::clamp(std::isnan(prob) ? 0.0 : prob, 0.0, 100.0);
  if (n == 1) return static_cast<double>(x[0]);
  if (prob == 100) return static_cast<double>(x[n - 1]);
  const double pos = prob * static_cast<double>(n - 1) / 100;
  const auto g = static_cast<int64_t>(pos);
  const double f = pos - static_cast<double>(g);
  const double low = static_cast<double>(x[g]);
  const double high = g + 1 < n ? static_cast<double>(x[g + 1]) : low;
  return low + (high - low) * f;
}

bool TMatrix::Histogram(int32_t LoX, int32_t LoY, int32_t HiX, int32_t HiY, double FirstBin,
                        double LastBin, double BinWidth, TIntVector* Histo, int32_t& Underflow,
                        int32_t& Overflow, int32_t& MaxCnt) const {
  // A width that is not positive would give no bins or bin numbers beyond any integer.
  if (!Histo || !(BinWidth > 0)) return false;
  const double bins = std::nearbyint(std::fabs(LastBin - FirstBin) / BinWidth);
  if (!(bins <= kMaxHistogramBins)) return false;
  const auto nb = static_cast<int32_t>(bins);
  if (Histo->NrOfElem() != nb) Histo->Resize(nb);
  Histo->Clear();
  Underflow = Overflow = MaxCnt = 0;
  for (int64_t c = LoX; c <= HiX; ++c) {
    for (int64_t r = LoY; r <= HiY; ++r) {
      const double v = Element(static_cast<int32_t>(c), static_cast<int32_t>(r));
      if (v < FirstBin) {
        ++Underflow;
      } else if (v < LastBin + BinWidth) {
        // Values just below LastBin + BinWidth can fall one bin past the end; like any index
        // outside Histo they are counted nowhere.
        const double bin = std::trunc((v - FirstBin) / BinWidth) + 1;
        if (bin > Histo->NrOfElem()) continue;
        const auto ix = static_cast<int32_t>(bin);
        Histo->SetElement(ix, Histo->Element(ix) + 1);
        MaxCnt = std::max(MaxCnt, Histo->Element(ix));
      } else {
        ++Overflow;
      }
    }
  }
  return true;
}

#define VELMO_MATRIX_STATS_INSTANTIATE(T)                                                        \
  template void TMatrixCore<T>::MinMax(int32_t, int32_t, int32_t, int32_t, T&, T&) const;        \
  template T TMatrixCore<T>::Sum(int32_t, int32_t, int32_t, int32_t) const;                      \
  template void TMatrixCore<T>::MeanVar(int32_t, int32_t, int32_t, int32_t, double&, double&)    \
      const;                                                                                     \
  template double TMatrixCore<T>::GeometricMean(int32_t, int32_t, int32_t, int32_t) const;       \
  template double TMatrixCore<T>::HarmonicMean(int32_t, int32_t, int32_t, int32_t) const;        \
  template void TMatrixCore<T>::SkewKurt(int32_t, int32_t, int32_t, int32_t, double&, double&)   \
      const;                                                                                     \
  template void TMatrixCore<T>::SkewKurtSample(int32_t, int32_t, int32_t, int32_t, double&,      \
                                               double&) const;                                   \
  template bool TMatrixCore<T>::Quartiles(int32_t, int32_t, int32_t, int32_t, double&, double&,  \
                                          double&) const;                                        \
  template double TMatrixCore<T>::Percentile(double, int32_t, int32_t, int32_t, int32_t) const; \
  template std::vector<T> TMatrixCore<T>::SortedBlock(int32_t, int32_t, int32_t, int32_t) const;

VELMO_MATRIX_STATS_INSTANTIATE(double)
VELMO_MATRIX_STATS_INSTANTIATE(int32_t)
#undef VELMO_MATRIX_STATS_INSTANTIATE
