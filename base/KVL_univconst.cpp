#include "KVL_univconst.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "KVL_random.h"

namespace {

// A constant-initialised counter is safe to use from any static initialiser.
int32_t gProgressCount = 0;

// The hook lives in a function-local static so that no static initialiser can see it unbuilt.
TProgressHook& Hook() {
  static TProgressHook hook;
  return hook;
}

struct TGaussCache {
  bool Full = false;
  double Value = 0.0;
};
TGaussCache gGaussCache;

constexpr double kCombShrink = 1.3;

// Value times 10^Exponent, multiplying or dividing by the positive power, which is exact up to
// 10^22, so that decimal values come out correctly rounded.
double ScaleByPowerOfTen(double Value, int32_t Exponent) {
  const double power = std::pow(10.0, std::abs(Exponent));
  return Exponent >= 0 ? Value * power : Value / power;
}

template <typename T>
void CombSort(std::span<T> a, bool ascending) {
  const size_t n = a.size();
  if (n <= 1) return;
  size_t gap = n;
  bool swapped = false;
  do {
    gap = static_cast<size_t>(static_cast<double>(gap) / kCombShrink);
    if (gap < 1) gap = 1;
    swapped = false;
    for (size_t i = 0; i + gap < n; ++i) {
      const bool outOfOrder = ascending ? a[i] > a[i + gap] : a[i] < a[i + gap];
      if (outOfOrder) {
        std::swap(a[i], a[i + gap]);
        swapped = true;
      }
    }
    const int32_t count = StepProgressCount();
    if (Hook()) Hook()(count);
  } while (gap != 1 || swapped);
}

}  // namespace

int32_t ProgressCount() { return gProgressCount; }
void SetProgressCount(int32_t Count) { gProgressCount = Count; }

int32_t StepProgressCount() {
  gProgressCount = static_cast<int32_t>(static_cast<uint32_t>(gProgressCount) + 1u);
  return gProgressCount;
}

const TProgressHook& ProgressHook() { return Hook(); }
void SetProgressHook(TProgressHook NewHook) { Hook() = std::move(NewHook); }

void CombSortDoubles(std::span<double> Values, bool Ascending) { CombSort(Values, Ascending); }
void CombSortIntegers(std::span<int32_t> Values, bool Ascending) { CombSort(Values, Ascending); }

int32_t FloorToInt(double Value) {
  if (std::isnan(Value)) return 0;
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  double r = std::nearbyint(Value);  // ties to even in the default rounding mode
  if (r > Value) r -= 1.0;
  if (r <= kMin) return std::numeric_limits<int32_t>::min();
  if (r >= kMax) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(r);
}

double NiceNumber(double Value) {
  if (Value == 0.0) return 0.0;
  if (!std::isfinite(Value)) return Value;
  // A decade boundary such as 1000 must not land just below its exponent through log10 error.
  constexpr double kLogSnap = 1e-14;
  const double sign = Value < 0.0 ? -1.0 : 1.0;
  double l = std::log10(std::fabs(Value));
  const double nearest = std::nearbyint(l);
  if (std::fabs(l - nearest) < kLogSnap) l = nearest;
  const int32_t e = FloorToInt(l);
  // Scaling by an exact power of ten keeps values on the 1.5, 3 and 8 thresholds on them, where
  // 10^(l - e) drifts (it gives 7.99... for 8).
  const double f = ScaleByPowerOfTen(std::fabs(Value), -e);
  double g = 10.0;
  if (f < 1.5) {
    g = 1.0;
  } else if (f < 3.0) {
    g = 2.0;
  } else if (f < 8.0) {
    g = 5.0;
  }
  return sign * ScaleByPowerOfTen(g, e);
}

bool RandomDecision(double P) {
  if (P >= 1.0) return true;
  return RandomUniform() < P;
}

double RandomGauss() {
  if (gGaussCache.Full) {
    gGaussCache.Full = false;
    return gGaussCache.Value;
  }
  gGaussCache.Full = true;
  double u = 0.0;
  double v = 0.0;
  double s = 0.0;
  do {
    u = 2.0 * RandomUniform() - 1.0;
    v = 2.0 * RandomUniform() - 1.0;
    s = u * u + v * v;
  } while (s >= 1.0);
  const double f = std::sqrt(-2.0 * std::log(s) / s);
  gGaussCache.Value = u * f;
  return v * f;
}

void ClearRandomGaussCache() { gGaussCache = TGaussCache{}; }

void ExchangeInts(int32_t& A, int32_t& B) { std::swap(A, B); }
void ExchangeDoubles(double& A, double& B) { std::swap(A, B); }
