#include "KVL_calib_solver.h"

#include <algorithm>
#include <cmath>

#include "KVL_kvlbase.h"
#include "KVL_math2_svd.h"
#include "KVL_matrix.h"
#include "KVL_vector.h"

namespace {

// Mean of the values, summed in extended precision as the numerics' column means are.
double Mean(const std::vector<double>& v) {
  long double sum = 0.0L;
  for (const double x : v) sum += x;
  return static_cast<double>(sum / static_cast<long double>(v.size()));
}

}  // namespace

bool SolveLeastSquares(int32_t NumCols, const std::vector<double>& Rows,
                       const std::vector<double>& Y, double* Coeffs) {
  const auto m = static_cast<int32_t>(Y.size());
  const int32_t rows = std::max(m, NumCols);  // zero rows complete an underdetermined system
  TMatrix a;
  a.Resize(NumCols, rows);
  a.Fill(0.0);
  TVector y;
  y.Resize(rows);
  y.Fill(0.0);
  for (int32_t r = 1; r <= m; ++r) {
    for (int32_t c = 1; c <= NumCols; ++c) {
      a.SetElement(c, r, Rows[static_cast<std::size_t>((r - 1) * NumCols + (c - 1))]);
    }
    y.SetElement(r, Y[static_cast<std::size_t>(r - 1)]);
  }
  TVector x;
  x.Resize(NumCols);
  bool singular = false;
  if (!SvdLeastSquares(a, y, x, nullptr, singular)) return false;
  for (int32_t c = 1; c <= NumCols; ++c) Coeffs[c - 1] = x.Element(c);
  return true;
}

TLineFit FitLine(const std::vector<double>& X, const std::vector<double>& Y) {
  const std::size_t count = X.size();
  if (count < 2) throw EKVLMath2Error("CalcLinFit: not enough data points");
  const double n = static_cast<double>(count);
  const double mx = Mean(X);
  const double my = Mean(Y);
  double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    const double u = X[i] - mx;
    const double v = Y[i] - my;
    sx += u;
    sy += v;
    sxx += u * u;
    sxy += u * v;
  }
  TLineFit fit;
  const double det = n * sxx - sx * sx;
  if (det == 0.0) return fit;
  fit.K = (n * sxy - sx * sy) / det;
  fit.D = (sxx * sy - sx * sxy) / det - fit.K * mx + my;
  return fit;
}

TParabolaFit FitParabola(const std::vector<double>& X, const std::vector<double>& Y) {
  const std::size_t count = X.size();
  if (count < 3) throw EKVLMath2Error("CalcParabolFit: not enough data points");
  const double n = static_cast<double>(count);
  const double mx = Mean(X);
  const double my = Mean(Y);
  double su = 0.0, sv = 0.0, suu = 0.0, suv = 0.0, su2v = 0.0, su3 = 0.0, su4 = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    const double u = X[i] - mx;
    const double v = Y[i] - my;
    su += u;
    sv += v;
    suu += u * u;
    suv += u * v;
    su2v += u * u * v;
    su3 += u * u * u;
    su4 += u * u * u * u;
  }
  const double c = n * suu - su * su;
  const double dd = n * su2v - suu * sv;
  const double e = n * su3 - suu * su;
  const double f = n * suv - su * sv;
  const double g = n * su4 - suu * suu;
  const double a2 = c * g != e * e ? (c * dd - e * f) / (c * g - e * e) : 0.0;
  const double a1 = c != 0.0 ? (f - e * a2) / c : 0.0;
  const double a0 = (sv - a1 * su - a2 * suu) / n;
  TParabolaFit fit;
  fit.K2 = a2;
  fit.K1 = a1 - 2.0 * a2 * mx;
  fit.K0 = mx * mx * a2 + a0 - mx * a1 + my;
  return fit;
}

double StdevOfDifferences(const std::vector<double>& X, const std::vector<double>& Y) {
  const std::size_t count = X.size();
  if (count < 3) return 0.0;
  long double sum = 0.0L, sumq = 0.0L;
  for (std::size_t i = 0; i < count; ++i) {
    const long double diff = static_cast<long double>(X[i]) - Y[i];
    sum += diff;
    sumq += diff * diff;
  }
  const long double n = static_cast<long double>(count);
  return static_cast<double>(std::sqrt(std::fabs((sumq - sum * sum / n) / (n - 1))));
}

double GreatCircleDistance(double R, double Lat1, double Lon1, double Lat2, double Lon2) {
  constexpr double kRadPerDeg = 3.1415926535897932385 / 180.0;
  const double w = std::cos(Lat1 * kRadPerDeg) * std::cos(Lat2 * kRadPerDeg) *
                       std::cos((Lon1 - Lon2) * kRadPerDeg) +
                   std::sin(Lat1 * kRadPerDeg) * std::sin(Lat2 * kRadPerDeg);
  return R * std::acos(std::clamp(w, -1.0, 1.0));
}
