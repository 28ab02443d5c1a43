// Cubic splines of TCurveFit: the interpolating spline with natural or clamped ends and the
// penalised smoothing spline (Reinsch). Both are computed on first use after a change of the
// data or the settings and kept until the next change.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "KVL_math2_curvefit.h"

namespace {

// Second derivatives of the interpolating cubic spline through (X, Y) (at least two knots):
// the tridiagonal continuity equations with natural ends (M = 0) or clamped ends (given slope),
// solved by elimination; the system is diagonally dominant, so no pivoting is needed.
std::vector<double> InterpolatingSecondDerivatives(const std::vector<double>& X,
                                                   const std::vector<double>& Y, bool Natural1,
                                                   double Slope1, bool NaturalN, double SlopeN) {
  const size_t n = X.size();
  std::vector<double> sub(n, 0.0), diag(n, 1.0), super(n, 0.0), rhs(n, 0.0);
  const double h1 = X[1] - X[0];
  if (!Natural1) {
    diag[0] = h1 / 3;
    super[0] = h1 / 6;
    rhs[0] = (Y[1] - Y[0]) / h1 - Slope1;
  }
  for (size_t i = 1; i + 1 < n; ++i) {
    const double hl = X[i] - X[i - 1];
    const double hr = X[i + 1] - X[i];
    sub[i] = hl / 6;
    diag[i] = (hl + hr) / 3;
    super[i] = hr / 6;
    rhs[i] = (Y[i + 1] - Y[i]) / hr - (Y[i] - Y[i - 1]) / hl;
  }
  const double hn = X[n - 1] - X[n - 2];
  if (!NaturalN) {
    sub[n - 1] = hn / 6;
    diag[n - 1] = hn / 3;
    rhs[n - 1] = SlopeN - (Y[n - 1] - Y[n - 2]) / hn;
  }
  for (size_t i = 1; i < n; ++i) {
    const double f = sub[i] / diag[i - 1];
    diag[i] -= f * super[i - 1];
    rhs[i] -= f * rhs[i - 1];
  }
  std::vector<double> m(n);
  m[n - 1] = rhs[n - 1] / diag[n - 1];
  for (size_t i = n - 1; i-- > 0;) m[i] = (rhs[i] - super[i] * m[i + 1]) / diag[i];
  return m;
}

// Solves A z = b for a symmetric positive definite pentadiagonal A given by its diagonal D,
// first superdiagonal E and second superdiagonal F (LDLᵀ factorisation, overwriting them);
// b is replaced by z.
void SolvePentadiagonal(std::vector<double>& D, std::vector<double>& E, std::vector<double>& F,
                        std::vector<double>& B) {
  const size_t m = D.size();
  // After factorisation: D the pivots, E[i] = L(i+1, i), F[i] = L(i+2, i).
  for (size_t i = 0; i < m; ++i) {
    if (i >= 1) {
      D[i] -= E[i - 1] * E[i - 1] * D[i - 1];
      if (i + 1 < m) E[i] -= F[i - 1] * E[i - 1] * D[i - 1];
    }
    if (i >= 2) D[i] -= F[i - 2] * F[i - 2] * D[i - 2];
    if (i + 1 < m) E[i] /= D[i];
    if (i + 2 < m) F[i] /= D[i];
  }
  for (size_t i = 1; i < m; ++i) {
    B[i] -= E[i - 1] * B[i - 1];
    if (i >= 2) B[i] -= F[i - 2] * B[i - 2];
  }
  for (size_t i = 0; i < m; ++i) B[i] /= D[i];
  for (size_t i = m; i-- > 0;) {
    if (i + 1 < m) B[i] -= E[i] * B[i + 1];
    if (i + 2 < m) B[i] -= F[i] * B[i + 2];
  }
}

}  // namespace

double TCurveFit::TSplineKnots::Evaluate(double x) const {
  const size_t n = X.size();
  if (n == 1 || std::isnan(x)) return n == 1 ? Y[0] : x;
  if (x <= X[0] || x >= X[n - 1]) {  // straight on with the end slope
    const bool left = x <= X[0];
    const size_t i = left ? 0 : n - 2;
    const double h = X[i + 1] - X[i];
    const double secant = (Y[i + 1] - Y[i]) / h;
    const double slope = left ? secant - h * (2 * D2[i] + D2[i + 1]) / 6
                              : secant + h * (D2[i] + 2 * D2[i + 1]) / 6;
    return left ? Y[0] + slope * (x - X[0]) : Y[n - 1] + slope * (x - X[n - 1]);
  }
  const size_t i = static_cast<size_t>(std::upper_bound(X.begin(), X.end(), x) - X.begin()) - 1;
  const double h = X[i + 1] - X[i];
  const double a = (X[i + 1] - x) / h;
  const double b = 1 - a;
  const double curvature = (a * a * a - a) * D2[i] + (b * b * b - b) * D2[i + 1];
  return a * Y[i] + b * Y[i + 1] + curvature * h * h / 6;
}

bool TCurveFit::BuildKnots(TSplineKnots& Knots) const {
  Knots = TSplineKnots{};
  const auto n = static_cast<size_t>(FNumData);
  for (size_t i = 0; i < n; ++i)
    if (!std::isfinite(FDataX[i]) || !std::isfinite(FDataY[i])) return false;
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return FDataX[a] < FDataX[b]; });
  for (size_t k : order) {
    if (!Knots.X.empty() && Knots.X.back() == FDataX[k]) {
      Knots.Y.back() += FDataY[k];
      Knots.Weight.back() += 1;
    } else {
      Knots.X.push_back(FDataX[k]);
      Knots.Y.push_back(FDataY[k]);
      Knots.Weight.push_back(1);
    }
  }
  for (size_t i = 0; i < Knots.Y.size(); ++i) Knots.Y[i] /= Knots.Weight[i];
  Knots.D2.assign(Knots.X.size(), 0.0);
  return true;
}

void TCurveFit::UpdateSpline() const {
  if (FSplineValid) return;
  FSplineUsable = BuildKnots(FSpline);
  if (FSplineUsable && FSpline.X.size() >= 2) {
    FSpline.D2 = InterpolatingSecondDerivatives(FSpline.X, FSpline.Y, FNatural1, FY1Dash,
                                                FNaturalN, FYNDash);
  }
  FSplineValid = true;
}

double TCurveFit::CubicSpline(double x) const {
  UpdateSpline();
  if (!FSplineUsable) return std::numeric_limits<double>::quiet_NaN();
  return FSpline.X.empty() ? 0.0 : FSpline.Evaluate(x);
}

// Reinsch: with h the knot spacings, Q the n x (n - 2) second-difference matrix and R the
// (n - 2) x (n - 2) tridiagonal matrix of the natural spline, the second derivatives at the
// inner knots solve (R + λ QᵀW⁻¹Q) γ = Qᵀ y and the fitted values are g = y - λ W⁻¹Q γ, where W
// holds the number of pairs merged into each knot.
void TCurveFit::UpdateSmoothedSpline() const {
  if (FPenSplineValid) return;
  FPenSplineValid = true;
  FPSplineFQ = 0;
  TSplineKnots& k = FPenSpline;
  FPenSplineUsable = BuildKnots(k) && k.X.size() >= 2;
  if (!FPenSplineUsable) return;
  const size_t n = k.X.size();
  const double lambda = std::max(FPSplineSmooth, 0.0);
  const std::vector<double> y = k.Y;
  if (n >= 3) {
    const size_t m = n - 2;
    std::vector<double> h(n - 1);
    for (size_t i = 0; i + 1 < n; ++i) h[i] = k.X[i + 1] - k.X[i];
    // Column j of Q (inner knot j + 1) has q0 at row j, q1 at row j + 1, q2 at row j + 2.
    auto q0 = [&](size_t j) { return 1 / h[j]; };
    auto q1 = [&](size_t j) { return -1 / h[j] - 1 / h[j + 1]; };
    auto q2 = [&](size_t j) { return 1 / h[j + 1]; };
    const std::vector<double>& w = k.Weight;
    std::vector<double> d(m), e(m, 0.0), f(m, 0.0), rhs(m);
    for (size_t j = 0; j < m; ++j) {
      d[j] = (h[j] + h[j + 1]) / 3 + lambda * (q0(j) * q0(j) / w[j] + q1(j) * q1(j) / w[j + 1] +
                                               q2(j) * q2(j) / w[j + 2]);
      if (j + 1 < m) {
        e[j] = h[j + 1] / 6 +
               lambda * (q1(j) * q0(j + 1) / w[j + 1] + q2(j) * q1(j + 1) / w[j + 2]);
      }
      if (j + 2 < m) f[j] = lambda * q2(j) * q0(j + 2) / w[j + 2];
      rhs[j] = (y[j + 2] - y[j + 1]) / h[j + 1] - (y[j + 1] - y[j]) / h[j];
    }
    SolvePentadiagonal(d, e, f, rhs);
    for (size_t j = 0; j < m; ++j) {
      k.D2[j + 1] = rhs[j];
      k.Y[j] -= lambda * q0(j) * rhs[j] / w[j];
      k.Y[j + 1] -= lambda * q1(j) * rhs[j] / w[j + 1];
      k.Y[j + 2] -= lambda * q2(j) * rhs[j] / w[j + 2];
    }
  }
  long double sumY = 0;
  for (int32_t i = 0; i < FNumData; ++i) sumY += FDataY[static_cast<size_t>(i)];
  const long double meanY = sumY / FNumData;
  long double residual = 0;
  long double spread = 0;
  for (int32_t i = 0; i < FNumData; ++i) {
    const double yi = FDataY[static_cast<size_t>(i)];
    const long double r = yi - k.Evaluate(FDataX[static_cast<size_t>(i)]);
    residual += r * r;
    spread += (yi - meanY) * (yi - meanY);
  }
  FPSplineFQ = spread > 0 ? static_cast<double>(1 - residual / spread) : 1.0;
}

double TCurveFit::SmoothedSpline(double x, double& FitQual, bool& valid) const {
  UpdateSmoothedSpline();
  valid = FPenSplineUsable;
  FitQual = valid ? FPSplineFQ : 0.0;
  return valid ? FPenSpline.Evaluate(x) : 0.0;
}

void TCurveFit::SetSplineNatural1(bool Value) {
  FNatural1 = Value;
  FSplineValid = false;
}

void TCurveFit::SetSplineNaturalN(bool Value) {
  FNaturalN = Value;
  FSplineValid = false;
}

void TCurveFit::SetSplineDerivY1(double Value) {
  FY1Dash = Value;
  FSplineValid = false;
}

void TCurveFit::SetSplineDerivYN(double Value) {
  FYNDash = Value;
  FSplineValid = false;
}

void TCurveFit::SetSplineSmoothingFactor(double Value) {
  FPSplineSmooth = Value;
  FPenSplineValid = false;
}
