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

void TCurveFit::AccumulateSums(double x, double y, long double Weight) {
  TCurveFitSums& s = FSums;
  const long double X = x;
  const long double Y = y;
  const long double diff = X - Y;
  s.sumx += Weight * X;
  s.sumy += Weight * Y;
  s.sumxq += Weight * X * X;
  s.sumyq += Weight * Y * Y;
  s.sumDiff += Weight * diff;
  s.SumDiffq += Weight * diff * diff;
  s.sumxy += Weight * X * Y;
  s.sumx2y += Weight * X * X * Y;
  s.sumxy2 += Weight * X * Y * Y;
  s.sumx3 += Weight * X * X * X;
  s.sumy3 += Weight * Y * Y * Y;
  s.sumx4 += Weight * X * X * X * X;
  s.sumy4 += Weight * Y * Y * Y * Y;

  const bool xTiny = IsTiny(X);
  if (!IsTiny(Y)) {
    s.sum1byy += Weight / Y;
    s.sum1byyq += Weight / (Y * Y);
    s.sumxbyy += Weight * X / Y;
    s.sum1byxy += Weight * (xTiny ? kBig / Y : 1 / X / Y);
  } else {
    FErrIndic |= dfYTinyOrZero;
    s.sum1byy += Weight * kBig;
    s.sum1byyq += Weight * kBig * kBig;
    s.sumxbyy += Weight * kBig * X;
    s.sum1byxy += Weight * (xTiny ? kBig : kBig / X);
  }
  if (!xTiny) {
    s.sum1byx += Weight / X;
    s.sum1byxq += Weight / (X * X);
    s.sumybyx += Weight * Y / X;
  } else {
    FErrIndic |= dfXTiny;
    s.sum1byx += Weight * kBig;
    s.sum1byxq += Weight * kBig * kBig;
    s.sumybyx += Weight * kBig * Y;
  }

  if (X > 0) {
    const long double lnx = std::log(X);
    s.sumlnx += Weight * lnx;
    s.sumlnxq += Weight * lnx * lnx;
    s.sumylnx += Weight * Y * lnx;
    s.sumxlnx += Weight * X * lnx;
    if (Y != 0) {
      s.sumlnxbyy += Weight * lnx / Y;
    } else {
      FErrIndic |= dfYTinyOrZero;
    }
    if (Y > 0) {
      s.sumlnxlny += Weight * lnx * std::log(Y);
    } else {
      FErrIndic |= dfYNotPositive;
    }
  } else {
    FErrIndic |= dfXNotPositive;
  }
  if (Y > 0) {
    const long double lny = std::log(Y);
    s.sumlny += Weight * lny;
    s.sumlnyq += Weight * lny * lny;
    s.sumxlny += Weight * X * lny;
    s.sumxqlny += Weight * X * X * lny;
  } else {
    FErrIndic |= dfYNotPositive;
  }
}

void TCurveFit::TrackExtremes(double x, double y) {
  FMinX = std::min(FMinX, x);
  FMinY = std::min(FMinY, y);
  FMaxX = std::max(FMaxX, x);
  FMaxY = std::max(FMaxY, y);
}

void TCurveFit::EnterStatValue(double x, double y) {
  TrackExtremes(x, y);
  AccumulateSums(x, y, 1);
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
  AccumulateSums(FDataX[row], FDataY[row], -1);
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
