// The quartile rule shared by vectors, matrices and curve fitting: interpolation between the order
// statistics at position (n + 1) p of an ascending sorted sample.
#pragma once

#include <cstdint>

// x: the n >= 1 values sorted ascending; p: 0.25, 0.5 or 0.75 (any value in [0, 1] works).
template <typename T>
double QuartileOfSorted(const T* x, int64_t n, double p) {
  if (n == 1) return static_cast<double>(x[0]);
  const double pos = static_cast<double>(n + 1) * p;
  const auto g = static_cast<int64_t>(pos);
  // Positions outside 1 .. n take the extreme value on their side. (Clamping a position beyond n
  // to n - 1 would put the upper quartile of two values below their median.)
  if (g < 1) return static_cast<double>(x[0]);
  if (g >= n) return static_cast<double>(x[n - 1]);
  const double low = static_cast<double>(x[g - 1]);
  return low + (static_cast<double>(x[g]) - low) * (pos - static_cast<double>(g));
}
