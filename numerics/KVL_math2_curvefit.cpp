#include "KVL_math2_curvefit.h"

#include <algorithm>
#include <cmath>

namespace {

// Rows of the pair store at creation and the step by which it grows.
constexpr int32_t kDataRowStep = 1000;
// Starting values of the extremes, so that the first pair replaces them.
constexpr double kNoMinimum = 1.7e308;
constexpr double kNoMaximum = -1.7e308;
// A value of at most this magnitude has no usable reciprocal ...
constexpr long double kTiny = 1e-30L;
// ... and this stands in for it.
constexpr long double kBig = 1.7e38L;
constexpr long double kPi = 3.1415926535897932385L;

bool IsTiny(long double v) { return std::fabs(v) <= kTiny; }

// sqrt(|(sumsq - sum²/n) / (n - 1)|): the sample standard deviation from running sums.
double StdDevFromSums(long double sum, long double sumsq, int32_t n) {
  return static_cast<double>(std::sqrt(std::fabs((sumsq - sum * sum / n) / (n - 1))));
}

}  // namespace

TCurveFit::TCurveFit(TComponent* AOwner)
    : TComponent(AOwner), FDataX(kDataRowStep, 0.0), FDataY(kDataRowStep, 0.0) {
  Init();
}

void TCurveFit::Init() {
  FSums = TCurveFitSums{};
  FNumData = 0;
  std::fill(FDataX.begin(), FDataX.end(), 0.0);
  std::fill(FDataY.begin(), FDataY.end(), 0.0);
  FMinX = FMinY = kNoMinimum;
  FMaxX = FMaxY = kNoMaximum;
  FErrIndic = 0;
  FPSplineFQ = 0;
  InvalidateCaches();
}

void TCurveFit::InvalidateCaches() {
  FSplineValid = false;
  FPenSplineValid = false;
  FKendallValid = false;
}

template <bool Remove>
void TCurveFit::AccumulateSums(double x, double y) {
  auto add = [](long double& Sum, long double Term) {
    if constexpr (Remove) {
      Sum -= Term;
    } else {
      Sum += Term;
    }
  };
  TCurveFitSums& s = FSums;
  const long double X = x;
  const long double Y = y;
  const long double diff = X - Y;
  add(s.sumx, X);
  add(s.sumy, Y);
  add(s.sumxq, X * X);
  add(s.sumyq, Y * Y);
  add(s.sumDiff, diff);
  add(s.SumDiffq, diff * diff);
  add(s.sumxy, X * Y);
  add(s.sumx2y, X * X * Y);
  add(s.sumxy2, X * Y * Y);
  add(s.sumx3, X * X * X);
  add(s.sumy3, Y * Y * Y);
  add(s.sumx4, X * X * X * X);
  add(s.sumy4, Y * Y * Y * Y);

  // One reciprocal each, multiplied out: division is the slowest operation of the x87 unit.
  const bool xTiny = IsTiny(X);
  const long double rx = xTiny ? kBig : 1 / X;
  if (!IsTiny(Y)) {
    const long double ry = 1 / Y;
    add(s.sum1byy, ry);
    add(s.sum1byyq, ry * ry);
    add(s.sumxbyy, X * ry);
    add(s.sum1byxy, rx * ry);
  } else {
    FErrIndic |= dfYTinyOrZero;
    add(s.sum1byy, kBig);
    add(s.sum1byyq, kBig * kBig);
    add(s.sumxbyy, kBig * X);
    add(s.sum1byxy, xTiny ? kBig : kBig * rx);
  }
  if (xTiny) FErrIndic |= dfXTiny;
  add(s.sum1byx, rx);
  add(s.sum1byxq, rx * rx);
  add(s.sumybyx, rx * Y);

  // The logarithms of the double values in double precision (a quarter of the cost of the
  // extended ones); only their sums need the extended range and precision.
  const long double lny = y > 0 ? std::log(y) : 0;
  if (x > 0) {
    const long double lnx = std::log(x);
    add(s.sumlnx, lnx);
    add(s.sumlnxq, lnx * lnx);
    add(s.sumylnx, Y * lnx);
    add(s.sumxlnx, X * lnx);
    if (y != 0) {
      add(s.sumlnxbyy, lnx / Y);
    } else {
      FErrIndic |= dfYTinyOrZero;
    }
    if (y > 0) {
      add(s.sumlnxlny, lnx * lny);
    } else {
      FErrIndic |= dfYNotPositive;
    }
  } else {
    FErrIndic |= dfXNotPositive;
  }
  if (y > 0) {
    add(s.sumlny, lny);
    add(s.sumlnyq, lny * lny);
    add(s.sumxlny, X * lny);
    add(s.sumxqlny, X * X * lny);
  } else {
    FErrIndic |= dfYNotPositive;
  }
}

template void TCurveFit::AccumulateSums<false>(double x, double y);
template void TCurveFit::AccumulateSums<true>(double x, double y);

void TCurveFit::TrackExtremes(double x, double y) {
  FMinX = std::min(FMinX, x);
  FMinY = std::min(FMinY, y);
  FMaxX = std::max(FMaxX, x);
  FMaxY = std::max(FMaxY, y);
}

void TCurveFit::EnterStatValue(double x, double y) {
  TrackExtremes(x, y);
  AccumulateSums<false>(x, y);
  ++FNumData;
  if (DataCapacity() < FNumData) {
    // std::vector grows its memory geometrically; the store's row count grows by the step.
    FDataX.resize(FDataX.size() + kDataRowStep, 0.0);
    FDataY.resize(FDataY.size() + kDataRowStep, 0.0);
  }
  FDataX[static_cast<size_t>(FNumData - 1)] = x;
  FDataY[static_cast<size_t>(FNumData - 1)] = y;
  InvalidateCaches();
}

void TCurveFit::RemoveStatValue(int32_t ix) {
  InvalidateCaches();
  if (ix < 1 || ix > FNumData) return;
  const auto row = static_cast<size_t>(ix - 1);
  AccumulateSums<true>(FDataX[row], FDataY[row]);
  const auto end = static_cast<size_t>(FNumData);
  std::copy(FDataX.begin() + row + 1, FDataX.begin() + end, FDataX.begin() + row);
  std::copy(FDataY.begin() + row + 1, FDataY.begin() + end, FDataY.begin() + row);
  --FNumData;
}

double TCurveFit::DataX(int32_t ix) const {
  return ix >= 1 && ix <= FNumData ? FDataX[static_cast<size_t>(ix - 1)] : 0.0;
}

double TCurveFit::DataY(int32_t ix) const {
  return ix >= 1 && ix <= FNumData ? FDataY[static_cast<size_t>(ix - 1)] : 0.0;
}

// ---- descriptive statistics --------------------------------------------------------------------

double TCurveFit::MeanX() const {
  return FNumData > 0 ? static_cast<double>(FSums.sumx / FNumData) : 0.0;
}

double TCurveFit::MeanY() const {
  return FNumData > 0 ? static_cast<double>(FSums.sumy / FNumData) : 0.0;
}

double TCurveFit::MeanDiff() const {
  return FNumData > 0 ? static_cast<double>(FSums.sumDiff / FNumData) : 0.0;
}

double TCurveFit::StdDevX() const {
  return FNumData >= 3 ? StdDevFromSums(FSums.sumx, FSums.sumxq, FNumData) : 0.0;
}

double TCurveFit::StdDevY() const {
  return FNumData >= 3 ? StdDevFromSums(FSums.sumy, FSums.sumyq, FNumData) : 0.0;
}

double TCurveFit::StdDevDiff() const {
  return FNumData >= 3 ? StdDevFromSums(FSums.sumDiff, FSums.SumDiffq, FNumData) : 0.0;
}

double TCurveFit::CorrCoeff() const {
  const TCurveFitSums& s = FSums;
  const int32_t n = FNumData;
  if (n < 3 || s.sumxq <= 0 || s.sumyq <= 0) return 0.0;
  const auto sxx = static_cast<double>(s.sumxq - s.sumx * s.sumx / n);
  const auto syy = static_cast<double>(s.sumyq - s.sumy * s.sumy / n);
  if (sxx == 0 || syy == 0) return 0.0;
  return static_cast<double>((s.sumxy - s.sumx * s.sumy / n) / std::sqrt(std::fabs(sxx * syy)));
}

void TCurveFit::CalcStatistics(int32_t& NumData, double& MeanX, double& MeanY, double& StdevX,
                               double& StdevY, double& MeanDiff, double& StdevDiff,
                               double& rxy) const {
  NumData = FNumData;
  MeanX = this->MeanX();
  MeanY = this->MeanY();
  MeanDiff = this->MeanDiff();
  StdevX = StdDevX();
  StdevY = StdDevY();
  StdevDiff = StdDevDiff();
  rxy = CorrCoeff();
}

// ---- straight line and parabola ----------------------------------------------------------------

void TCurveFit::ColumnMeans(double& MeanX, double& MeanY) const {
  long double sx = 0;
  long double sy = 0;
  for (int32_t i = 0; i < FNumData; ++i) {
    sx += FDataX[static_cast<size_t>(i)];
    sy += FDataY[static_cast<size_t>(i)];
  }
  MeanX = static_cast<double>(sx / FNumData);
  MeanY = static_cast<double>(sy / FNumData);
}

// The sums are taken about the means, which keeps them well conditioned for data far from the
// origin (map coordinates in metres, for instance).
void TCurveFit::CalcLinFit(double& k, double& d, double& FitQual) const {
  k = d = FitQual = 0;
  const int32_t n = FNumData;
  if (n < 2) throw EKVLMath2Error("CalcLinFit: not enough data points");
  double xm = 0;
  double ym = 0;
  ColumnMeans(xm, ym);
  double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
  for (int32_t i = 0; i < n; ++i) {
    const double u = FDataX[static_cast<size_t>(i)] - xm;
    const double v = FDataY[static_cast<size_t>(i)] - ym;
    sx += u;
    sy += v;
    sxx += u * u;
    syy += v * v;
    sxy += u * v;
  }
  const double det = n * sxx - sx * sx;
  if (det == 0) return;
  k = (n * sxy - sx * sy) / det;
  d = (sxx * sy - sx * sxy) / det - k * xm + ym;
  const double q = syy - sy * sy / n;
  FitQual = q != 0 ? (sy * d + k * sxy - sy * sy / n) / q : 1.0;
}

void TCurveFit::CalcParabolFit(double& k0, double& k1, double& k2, double& FitQual) const {
  k0 = k1 = k2 = FitQual = 0;
  const int32_t n = FNumData;
  if (n < 3) throw EKVLMath2Error("CalcParabolFit: not enough data points");
  double xm = 0;
  double ym = 0;
  ColumnMeans(xm, ym);
  double su = 0, sv = 0, suu = 0, svv = 0, suv = 0, su2v = 0, su3 = 0, su4 = 0;
  for (int32_t i = 0; i < n; ++i) {
    const double u = FDataX[static_cast<size_t>(i)] - xm;
    const double v = FDataY[static_cast<size_t>(i)] - ym;
    su += u;
    sv += v;
    suu += u * u;
    svv += v * v;
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
  const double a1 = c != 0 ? (f - e * a2) / c : 0.0;
  const double a0 = (sv - a1 * su - a2 * suu) / n;
  k2 = a2;
  k1 = a1 - 2 * a2 * xm;
  k0 = xm * xm * a2 + a0 - xm * a1 + ym;
  const double q = svv - sv * sv / n;
  FitQual = q != 0 ? (sv * a0 + a1 * suv + a2 * su2v - sv * sv / n) / q : 1.0;
}

// ---- great-circle distance ---------------------------------------------------------------------

double SphericalDistance(double R, double Lat1, double Lon1, double Lat2, double Lon2) {
  const long double toRad = kPi / 180;
  const long double phi1 = Lat1 * toRad;
  const long double phi2 = Lat2 * toRad;
  const long double w = std::cos(phi1) * std::cos(phi2) * std::cos((Lon1 - Lon2) * toRad) +
                        std::sin(phi1) * std::sin(phi2);
  return static_cast<double>(R * std::acos(std::clamp(w, -1.0L, 1.0L)));
}
