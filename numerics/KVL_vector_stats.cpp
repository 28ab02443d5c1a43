// Moment statistics of vectors: sum, mean and variance, geometric and harmonic means, skewness
// and kurtosis, centring and standardising.
#include <cmath>

#include "KVL_vector.h"

namespace {

// Mean of x[low .. high] (1-based), summed in extended precision.
template <typename T>
long double RangeMean(const T* x, int32_t low, int32_t high) {
  long double sum = 0;
  for (int32_t i = low; i <= high; ++i) sum += x[i - 1];
  return sum / (high - low + 1);
}

struct TShape {
  bool defined = false;
  double skewness = 0;
  double kurtosis = 0;
};

// Moment skewness and excess kurtosis of x[low .. high] (1-based): third and fourth central
// moments over powers of the sample standard deviation. Undefined, and 0, for fewer than four
// values or no spread.
template <typename T>
TShape RangeShape(const T* x, int32_t low, int32_t high) {
  constexpr int32_t kMinCount = 4;
  TShape shape;
  const int32_t n = high - low + 1;
  if (n < kMinCount) return shape;
  const long double mean = RangeMean(x, low, high);
  long double s1 = 0, s2 = 0, s3 = 0, s4 = 0;
  for (int32_t i = low; i <= high; ++i) {
    const long double d = x[i - 1] - mean;
    s1 += d;
    s2 += d * d;
    s3 += d * d * d;
    s4 += d * d * d * d;
  }
  // s1 is 0 up to rounding; subtracting its square keeps s2 a proper sum about the mean.
  const long double s = std::sqrt((s2 - s1 * s1 / n) / (n - 1));
  if (!(s > 0)) return shape;  // also when rounding left a NaN
  shape.defined = true;
  shape.skewness = static_cast<double>(s3 / n / (s * s * s));
  shape.kurtosis = static_cast<double>(s4 / n / (s * s * s * s) - 3);
  return shape;
}

}  // namespace

template <typename T>
T TVectorCore<T>::Sum(int32_t LowElem, int32_t HighElem) const {
  ClampRange(LowElem, HighElem, FNElem);
  using Accum = typename TVectorTraits<T>::Accum;
  Accum sum{0};
  for (int32_t i = LowElem; i <= HighElem; ++i) sum = ArithAdd(sum, Accum(FVec[i - 1]));
  return static_cast<T>(sum);
}

template <typename T>
void TVectorCore<T>::MeanVar(int32_t LowElem, int32_t HighElem, double& Mean,
                             double& Variance) const {
  ClampRange(LowElem, HighElem, FNElem);
  const int32_t n = HighElem - LowElem + 1;
  const long double mean = RangeMean(FVec.data(), LowElem, HighElem);
  Mean = static_cast<double>(mean);
  // Fewer than three elements give no useful spread estimate; 1 is the neutral value callers
  // divide by, the same convention as the matrix block statistics.
  if (n < 3) {
    Variance = 1.0;
    return;
  }
  // Deviations from the mean of a first pass: the one-pass sum(x^2) - sum(x)^2 / n cancels
  // catastrophically for data far from zero (three values near 1e9 that differ by 1 come out
  // with a variance of 0 or hundreds), and it can go negative.
  long double squares = 0;
  for (int32_t i = LowElem; i <= HighElem; ++i) {
    const long double d = FVec[i - 1] - mean;
    squares += d * d;
  }
  Variance = static_cast<double>(squares / (n - 1));
}

template <typename T>
double TVectorCore<T>::GeometricMean(int32_t LowElem, int32_t HighElem) const {
  ClampRange(LowElem, HighElem, FNElem);
  bool hasZero = false;
  long double logSum = 0;
  for (int32_t i = LowElem; i <= HighElem; ++i) {
    const T x = FVec[i - 1];
    if (x < 0)
      throw EKVLVectorError(ComponentMessage(Name(), "negative argument passed to GeometricMean"));
    if (x == 0)
      hasZero = true;
    else
      logSum += std::log(static_cast<long double>(x));
  }
  if (hasZero) return 0.0;
  return static_cast<double>(std::exp(logSum / (HighElem - LowElem + 1)));
}

template <typename T>
double TVectorCore<T>::HarmonicMean(int32_t LowElem, int32_t HighElem) const {
  ClampRange(LowElem, HighElem, FNElem);
  long double reciprocalSum = 0;
  for (int32_t i = LowElem; i <= HighElem; ++i) {
    const T x = FVec[i - 1];
    if (x <= 0)
      throw EKVLVectorError(
          ComponentMessage(Name(), "negative or zero argument passed to HarmonicMean"));
    reciprocalSum += 1.0L / x;
  }
  return static_cast<double>((HighElem - LowElem + 1) / reciprocalSum);
}

template <typename T>
void TVectorCore<T>::SkewKurt(int32_t LowElem, int32_t HighElem, double& Skewness,
                              double& Kurtosis) const {
  ClampRange(LowElem, HighElem, FNElem);
  const TShape shape = RangeShape(FVec.data(), LowElem, HighElem);
  Skewness = shape.skewness;
  Kurtosis = shape.kurtosis;
}

template <typename T>
void TVectorCore<T>::SkewKurtSample(int32_t LowElem, int32_t HighElem, double& Skewness,
                                    double& Kurtosis) const {
  ClampRange(LowElem, HighElem, FNElem);
  const TShape shape = RangeShape(FVec.data(), LowElem, HighElem);
  Skewness = 0;
  Kurtosis = 0;
  // Without spread the shape is undefined and stays at the neutral 0: correcting that 0 would
  // report a kurtosis of 10.75 for five equal values.
  if (!shape.defined) return;
  const double n = HighElem - LowElem + 1;
  Kurtosis = (shape.kurtosis + 3) * n * n * (n + 1) / ((n - 1) * (n - 2) * (n - 3)) -
             3 * (n - 1) * (n - 1) / ((n - 2) * (n - 3));
  Skewness = shape.skewness * n * n / ((n - 1) * (n - 2));
}

double TVector::MeanCenter() {
  double mean = 0, variance = 0;
  MeanVar(1, FNElem, mean, variance);
  for (double& x : FVec) x -= mean;
  return mean;
}

void TVector::Standardize(double& mean, double& stddev) {
  double variance = 0;
  MeanVar(1, FNElem, mean, variance);
  stddev = std::sqrt(variance);
  if (stddev > 0)
    for (double& x : FVec) x = (x - mean) / stddev;
}

#define VELMO_INSTANTIATE_VECTOR_STATS(T)                                                      \
  template T TVectorCore<T>::Sum(int32_t, int32_t) const;                                       \
  template void TVectorCore<T>::MeanVar(int32_t, int32_t, double&, double&) const;              \
  template double TVectorCore<T>::GeometricMean(int32_t, int32_t) const;                        \
  template double TVectorCore<T>::HarmonicMean(int32_t, int32_t) const;                         \
  template void TVectorCore<T>::SkewKurt(int32_t, int32_t, double&, double&) const;             \
  template void TVectorCore<T>::SkewKurtSample(int32_t, int32_t, double&, double&) const;

VELMO_INSTANTIATE_VECTOR_STATS(double)
VELMO_INSTANTIATE_VECTOR_STATS(int32_t)
