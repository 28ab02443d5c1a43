// Statistics of vectors that need the values in order: mode, quartiles, percentiles. Each works
// on a sorted copy of the range; the vector itself is not changed.
#include <cmath>
#include <limits>
#include <new>
#include <span>
#include <vector>

#include "KVL_quartile.h"
#include "KVL_univconst.h"
#include "KVL_vector.h"

namespace {

// The library's comb sorts, which also advance ProgressCount and call ProgressHook.
void SortAscending(std::span<double> values) { CombSortDoubles(values, true); }
void SortAscending(std::span<int32_t> values) { CombSortIntegers(values, true); }

// Linear interpolation between the 1-based order statistics g and g + 1 of the sorted copy.
template <typename T>
double Interpolate(const std::vector<T>& sorted, int32_t g, double f) {
  const double low = sorted[g - 1];
  const double high = sorted[g];
  return low + (high - low) * f;
}

// The clamped range, sorted ascending.
template <typename T>
std::vector<T> SortedCopy(const TVectorCore<T>& v, int32_t low, int32_t high) {
  ClampRange(low, high, v.NrOfElem());
  std::vector<T> copy;
  try {
    copy.assign(v.Data() + (low - 1), v.Data() + high);
  } catch (const std::bad_alloc&) {
    throw EKVLVectorError(ComponentMessage(v.Name(), "not enough memory on heap"));
  }
  SortAscending(std::span<T>(copy));
  return copy;
}

}  // namespace

template <typename T>
T TVectorCore<T>::Mode(int32_t LowElem, int32_t HighElem) const {
  const std::vector<T> x = SortedCopy(*this, LowElem, HighElem);
  T best = x[0];
  std::size_t bestRun = 1;
  std::size_t run = 1;
  for (std::size_t j = 1; j < x.size(); ++j) {
    run = x[j] == x[j - 1] ? run + 1 : 1;
    // Only a strictly longer run wins, so the smallest of equally frequent values stays.
    if (run > bestRun) {
      bestRun = run;
      best = x[j];
    }
  }
  return best;
}

template <typename T>
bool TVectorCore<T>::Quartiles(int32_t LowElem, int32_t HighElem, double& Q1, double& Q2,
                               double& Q3) const {
  const std::vector<T> x = SortedCopy(*this, LowElem, HighElem);
  const auto n = static_cast<int32_t>(x.size());
  Q1 = QuartileOfSorted(x.data(), n, 0.25);
  Q2 = QuartileOfSorted(x.data(), n, 0.5);
  Q3 = QuartileOfSorted(x.data(), n, 0.75);
  return true;
}

template <typename T>
double TVectorCore<T>::Percentile(double prob, int32_t LowElem, int32_t HighElem) const {
  if (std::isnan(prob)) return std::numeric_limits<double>::quiet_NaN();
  prob = prob < 0 ? 0 : (prob > 100 ? 100 : prob);
  const std::vector<T> x = SortedCopy(*this, LowElem, HighElem);
  const auto n = static_cast<int32_t>(x.size());
  const double pos = prob * (n - 1) / 100;
  const auto g = static_cast<int32_t>(pos);
  // A prob just below 100 can round pos up to n - 1: that is the maximum, not a read past it.
  if (n == 1 || g >= n - 1) return x[n - 1];
  return Interpolate(x, g + 1, pos - g);
}

template double TVectorCore<double>::Mode(int32_t, int32_t) const;
template int32_t TVectorCore<int32_t>::Mode(int32_t, int32_t) const;
template bool TVectorCore<double>::Quartiles(int32_t, int32_t, double&, double&, double&) const;
template bool TVectorCore<int32_t>::Quartiles(int32_t, int32_t, double&, double&, double&) const;
template double TVectorCore<double>::Percentile(double, int32_t, int32_t) const;
template double TVectorCore<int32_t>::Percentile(double, int32_t, int32_t) const;
