#include "KVL_calib_solver.h"

#include <algorithm>
#include <cmath>

#include "KVL_kvlbase.h"
#include "KVL_math2_curvefit.h"
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
  TCurveFit data;
  for (std::size_t i = 0; i < X.size(); ++i) data.EnterStatValue(X[i], Y[i]);
  TParabolaFit fit;
  double quality = 0.0;
  data.CalcParabolFit(fit.K0, fit.K1, fit.K2, quality);
  return fit;
}

double StdevOfDifferences(const std::vector<double>& X, const std::vector<double>& Y) {
  TCurveFit data;
  for (std::size_t i = 0; i < X.size(); ++i) data.EnterStatValue(X[i], Y[i]);
  return data.StdDevDiff();
}
