// The fits of TCurveFit beyond the straight line and the parabola: polynomials through the
// least-squares solver, the analysis of variance of a regression, the circle, and the models
// that become a straight line or a parabola after transforming x and y.
#include <array>
#include <cmath>

#include "KVL_math2_curvefit.h"
#include "KVL_math2_svd.h"
#include "KVL_matrix.h"
#include "KVL_vector.h"

namespace {

// F of a regression whose error mean square is 0 while its regression mean square is not.
constexpr double kPerfectFitF = 1e10;

// r² of the fitted values against the observed ones; 0 when either has no spread.
double FittedRSquared(std::span<const double> Fitted, std::span<const double> Observed) {
  const auto n = static_cast<long double>(Observed.size());
  long double sf = 0, so = 0, sff = 0, soo = 0, sfo = 0;
  for (size_t i = 0; i < Observed.size(); ++i) {
    sf += Fitted[i];
    so += Observed[i];
    sff += static_cast<long double>(Fitted[i]) * Fitted[i];
    soo += static_cast<long double>(Observed[i]) * Observed[i];
    sfo += static_cast<long double>(Fitted[i]) * Observed[i];
  }
  if (soo <= 0 || sff <= 0) return 0.0;
  const long double redF = sff - sf * sf / n;
  const long double redO = soo - so * so / n;
  if (redF == 0 || redO == 0) return 0.0;
  const long double r = (sfo - sf * so / n) / std::sqrt(std::fabs(redF * redO));
  return static_cast<double>(r * r);
}

// Least-squares polynomial of the given degree through (Basis[i], Observed[i]), written to
// Params[0 .. Degree] (Params[0] the constant); Fitted receives the fitted values.
bool SolvePolynomial(uint8_t Degree, std::span<const double> Basis,
                     std::span<const double> Observed, std::vector<double>& Params,
                     std::vector<double>& Fitted, bool& Singular) {
  const auto n = static_cast<int32_t>(Observed.size());
  const int32_t constCol = Degree + 1;
  TMatrix design;
  design.Resize(constCol, n);
  TVector y;
  y.Resize(n);
  for (int32_t i = 1; i <= n; ++i) {
    double power = 1;
    for (int32_t j = 1; j <= Degree; ++j) {
      power *= Basis[static_cast<size_t>(i - 1)];
      design.SetElement(j, i, power);
    }
    design.SetElement(constCol, i, 1.0);
    y.SetElement(i, Observed[static_cast<size_t>(i - 1)]);
  }
  TVector coef;
  coef.Resize(constCol);
  const bool ok = SvdLeastSquares(design, y, coef, nullptr, Singular);
  Params.assign(static_cast<size_t>(Degree) + 1, 0.0);
  Params[0] = coef.Element(constCol);
  for (int32_t j = 1; j <= Degree; ++j) Params[static_cast<size_t>(j)] = coef.Element(j);
  Fitted.assign(Observed.size(), 0.0);
  for (size_t i = 0; i < Observed.size(); ++i) {
    long double v = 0;  // Horner
    for (int32_t j = Degree; j >= 0; --j) v = v * Basis[i] + Params[static_cast<size_t>(j)];
    Fitted[i] = static_cast<double>(v);
  }
  return ok;
}

// A transformed variable whose spread about its mean is below this fraction of its sum of
// squares is constant up to rounding: the sums are good to about n·1e-19 in extended precision.
constexpr long double kDependentBasis = 1e-15L;

// Y = a + b·X by least squares from the sums of X, Y, X², Y², X·Y over n pairs; q = r².
// Leaves a, b and q untouched when the pairs do not determine a line.
bool LineFromSums(int32_t n, long double sX, long double sY, long double sXX, long double sYY,
                  long double sXY, double& a, double& b, double& q) {
  if (n < 2) return false;
  const long double sxx = sXX - sX * sX / n;
  const long double syy = sYY - sY * sY / n;
  const long double sxy = sXY - sX * sY / n;
  if (!(sxx > kDependentBasis * sXX)) return false;
  const long double slope = sxy / sxx;
  b = static_cast<double>(slope);
  a = static_cast<double>((sY - slope * sX) / n);
  q = syy != 0 ? static_cast<double>(sxy * sxy / (sxx * syy)) : 1.0;
  return true;
}

// Y = a + b·U + c·V by least squares from the sums over n pairs; q = r².
struct TPlaneSums {
  long double n, sU, sV, sUU, sVV, sUV, sY, sYY, sUY, sVY;
};

// The normal equations are symmetric and positive semi-definite, so elimination needs no
// pivoting; a pivot that has lost all but kDependentBasis of its diagonal element marks a basis
// that is (numerically) a combination of the others.

bool PlaneFromSums(const TPlaneSums& s, double& a, double& b, double& c, double& q) {
  if (s.n < 3) return false;
  std::array<std::array<long double, 4>, 3> m = {{{s.n, s.sU, s.sV, s.sY},
                                                  {s.sU, s.sUU, s.sUV, s.sUY},
                                                  {s.sV, s.sUV, s.sVV, s.sVY}}};
  for (size_t col = 0; col < 3; ++col) {
    const long double diagonal = m[col][col];
    for (size_t k = 0; k < col; ++k) {
      const long double f = m[col][k] / m[k][k];
      for (size_t j = k; j < 4; ++j) m[col][j] -= f * m[k][j];
    }
    if (!(m[col][col] > kDependentBasis * diagonal)) return false;
  }
  std::array<long double, 3> x{};
  for (size_t i = 3; i-- > 0;) {
    long double v = m[i][3];
    for (size_t k = i + 1; k < 3; ++k) v -= m[i][k] * x[k];
    x[i] = v / m[i][i];
  }
  if (!std::isfinite(x[0]) || !std::isfinite(x[1]) || !std::isfinite(x[2])) return false;
  a = static_cast<double>(x[0]);
  b = static_cast<double>(x[1]);
  c = static_cast<double>(x[2]);
  const long double syy = s.sYY - s.sY * s.sY / s.n;
  q = syy != 0
          ? static_cast<double>((x[0] * s.sY + x[1] * s.sUY + x[2] * s.sVY - s.sY * s.sY / s.n) /
                                syy)
          : 1.0;
  return true;
}

}  // namespace

// ---- polynomials -------------------------------------------------------------------------------

bool TCurveFit::CalcPolyFit(uint8_t Degree, std::vector<double>& Params, double& FitQual,
                            bool& Singular) const {
  std::vector<double> fitted;
  const bool ok = SolvePolynomial(Degree, ColumnX(), ColumnY(), Params, fitted, Singular);
  FitQual = FittedRSquared(fitted, ColumnY());
  return ok;
}

bool TCurveFit::CalcCenteredPolyFit(uint8_t Degree, std::vector<double>& Params, double& Mean,
                                    double& FitQual, bool& Singular) const {
  if (Mean == 0) Mean = MeanX();
  double scale = StdDevX();
  if (scale == 0) scale = 1;
  const double ym = MeanY();
  std::vector<double> basis(ColumnX().begin(), ColumnX().end());
  for (double& u : basis) u = (u - Mean) / scale;
  std::vector<double> observed(ColumnY().begin(), ColumnY().end());
  for (double& v : observed) v -= ym;
  std::vector<double> fitted;
  const bool ok = SolvePolynomial(Degree, basis, observed, Params, fitted, Singular);
  FitQual = FittedRSquared(fitted, observed);
  double power = 1;
  for (size_t j = 1; j < Params.size(); ++j) {
    power *= scale;
    Params[j] /= power;
  }
  Params[0] += ym;
  return ok;
}

// ---- analysis of variance ----------------------------------------------------------------------

void TCurveFit::CalcAnovaReg(int32_t NumVars, bool IncludeConst, int32_t& dfreg, int32_t& dfres,
                             int32_t& dftotal, double& SSE, double& SSR, double& SST, double& MSE,
                             double& MSR, double& F) const {
  const TCurveFitSums& s = FSums;
  const int32_t n = FNumData;
  long double m = 0;
  dfreg = NumVars;
  if (IncludeConst) {
    dftotal = n - 1;
    if (n > 0) m = s.sumx / n;
  } else {
    dftotal = n;
  }
  dfres = dftotal - dfreg;
  SSE = static_cast<double>(s.SumDiffq);
  SSR = static_cast<double>(m * m * n + s.sumyq - 2 * m * s.sumy);
  SST = static_cast<double>(m * m * n + s.sumxq - 2 * m * s.sumx);
  MSE = dfres != 0 ? SSE / dfres : 0.0;
  MSR = dfreg != 0 ? SSR / dfreg : 0.0;
  if (MSR == 0) {
    F = 0;
  } else {
    F = MSE != 0 ? MSR / MSE : kPerfectFitF;
  }
}

// ---- circle ------------------------------------------------------------------------------------

// Minimises Σ(x² + y² - 2·dx·x - 2·dy·y - c)², the algebraic distance, which is linear in the
// centre; the radius then follows from the mean squared distance to the centre.
void TCurveFit::CalcCircleFit(double& r, double& dx, double& dy) const {
  r = dx = dy = 0;
  const TCurveFitSums& s = FSums;
  const int32_t n = FNumData;
  if (n <= 2) throw EKVLMath2Error("CalcCircleFit: not enough data points");
  const auto b = static_cast<double>(s.sumy * s.sumy - n * s.sumyq);
  const auto c = static_cast<double>(s.sumx * s.sumx - n * s.sumxq);
  const auto sxy = static_cast<double>(n * s.sumxy - s.sumx * s.sumy);
  const double det = b * c - sxy * sxy;
  if (det == 0) throw EKVLMath2Error("CalcCircleFit: radius is infinite");
  const long double p = (s.sumxq + s.sumyq) * s.sumy - (s.sumx2y + s.sumy3) * n;
  const long double q = (s.sumxq + s.sumyq) * s.sumx - (s.sumxy2 + s.sumx3) * n;
  dx = static_cast<double>((sxy * p + b * q) / 2 / det);
  dy = static_cast<double>((sxy * q + c * p) / 2 / det);
  r = static_cast<double>(std::sqrt(
      ((static_cast<long double>(dx) * dx + static_cast<long double>(dy) * dy) * n + s.sumxq +
       s.sumyq - 2 * (s.sumx * dx + s.sumy * dy)) /
      n));
}

// ---- linearised models -------------------------------------------------------------------------

void TCurveFit::CalcReciLinFit(double& k0, double& k1, double& FitQual) const {
  k0 = k1 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & dfYTinyOrZero) return;
  LineFromSums(FNumData, s.sumx, s.sum1byy, s.sumxq, s.sum1byyq, s.sumxbyy, k0, k1, FitQual);
}

void TCurveFit::CalcHyperbolFit(double& k0, double& k1, double& FitQual) const {
  k0 = k1 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & dfXTiny) return;
  LineFromSums(FNumData, s.sum1byx, s.sumy, s.sum1byxq, s.sumyq, s.sumybyx, k0, k1, FitQual);
}

void TCurveFit::CalcReciHyperbolFit(double& k0, double& k1, double& FitQual) const {
  k0 = k1 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & (dfXTiny | dfYTinyOrZero)) return;
  LineFromSums(FNumData, s.sum1byx, s.sum1byy, s.sum1byxq, s.sum1byyq, s.sum1byxy, k0, k1, FitQual);
}

void TCurveFit::CalcLogFit(double& k0, double& k1, double& FitQual) const {
  k0 = k1 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & dfXNotPositive) return;
  LineFromSums(FNumData, s.sumlnx, s.sumy, s.sumlnxq, s.sumyq, s.sumylnx, k0, k1, FitQual);
}

void TCurveFit::CalcReciLogFit(double& k0, double& k1, double& FitQual) const {
  k0 = k1 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & (dfXNotPositive | dfYTinyOrZero)) return;
  LineFromSums(FNumData, s.sumlnx, s.sum1byy, s.sumlnxq, s.sum1byyq, s.sumlnxbyy, k0, k1, FitQual);
}

void TCurveFit::CalcPowerFit(double& k0, double& k1, double& FitQual) const {
  k0 = k1 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & (dfXNotPositive | dfYNotPositive)) return;
  double a, b, q;
  if (!LineFromSums(FNumData, s.sumlnx, s.sumlny, s.sumlnxq, s.sumlnyq, s.sumlnxlny, a, b, q))
    return;
  k0 = std::exp(a);
  k1 = b;
  FitQual = q;
}

void TCurveFit::CalcExponentialFit(double& k0, double& k1, double& FitQual) const {
  k0 = k1 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & dfYNotPositive) return;
  double a, b, q;
  if (!LineFromSums(FNumData, s.sumx, s.sumlny, s.sumxq, s.sumlnyq, s.sumxlny, a, b, q)) return;
  k0 = std::exp(a);
  k1 = b;
  FitQual = q;
}

// ln y = a + b·x + c·x² with c < 0 is a Gaussian: centre -b/(2c), variance -1/(2c).
void TCurveFit::CalcGaussFit(double& k0, double& k1, double& k2, double& FitQual) const {
  k0 = k1 = k2 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & dfYNotPositive) return;
  const TPlaneSums sums{static_cast<long double>(FNumData), s.sumx, s.sumxq, s.sumxq, s.sumx4,
                        s.sumx3, s.sumlny, s.sumlnyq, s.sumxlny, s.sumxqlny};
  double a, b, c, q;
  if (!PlaneFromSums(sums, a, b, c, q) || c >= 0) return;
  k1 = -b / (2 * c);
  k2 = std::sqrt(-1 / (2 * c));
  k0 = std::exp(a - b * b / (4 * c));
  FitQual = q;
}

// ln y = ln k0 + x·ln k1 + k2·ln x.
void TCurveFit::CalcHoerlFit(double& k0, double& k1, double& k2, double& FitQual) const {
  k0 = k1 = k2 = FitQual = 0;
  const TCurveFitSums& s = FSums;
  if (FErrIndic & (dfXNotPositive | dfYNotPositive)) return;
  const TPlaneSums sums{static_cast<long double>(FNumData), s.sumx, s.sumlnx, s.sumxq, s.sumlnxq,
                        s.sumxlnx, s.sumlny, s.sumlnyq, s.sumxlny, s.sumlnxlny};
  double a, b, c, q;
  if (!PlaneFromSums(sums, a, b, c, q)) return;
  k0 = std::exp(a);
  k1 = std::exp(b);
  k2 = c;
  FitQual = q;
}
