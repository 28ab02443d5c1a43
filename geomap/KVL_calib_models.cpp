// The model steps: fitting each calibration model's parameters to the calibration data.
#include <cmath>
#include <numbers>
#include <vector>

#include "KVL_calib_solver.h"
#include "KVL_calibration.h"
#include "KVL_matrix.h"

namespace {

constexpr double kRadPerDeg = std::numbers::pi / 180.0;
constexpr int kMinFittedLines = 2;        // parallels and meridians each, for cmParabolicIp
constexpr int kMinLinePoints = 3;         // points for a line's parabola
constexpr int kMinModelPoints = 3;        // points for the Miller and conic models
constexpr double kConicStartBest = 1e10;  // a candidate must beat this residual
constexpr int32_t kConicStartStep = 1000000;  // pixels; halved down to 1 (20 rounds)
constexpr int kConicReach = 2;                // candidates -2 ... 2 steps in each direction

// Miller's latitude term ln(tan(π/4 + 0.4·φ)), φ in radians.
double MillerY(double LatDeg) {
  return std::log(std::tan(std::numbers::pi / 4.0 + 0.4 * LatDeg * kRadPerDeg));
}

}  // namespace

void TGeoCalibration::CalcModelParams() {
  switch (FCalibModel) {
    case cmBiquadraticPn: CalcBiquadParams(); break;
    case cmConicConformal: CalcConicParams(); break;
    case cmMillerCylindrical: CalcMillerParams(); break;
    case cmEquiRect:
    case cmUTM: CalcLinearParams(); break;
    case cmParabolicIp:
    case cmUndefined: break;
  }
}

bool TGeoCalibration::CalcGraticuleFits() {
  const TCalibData& d = FCalibData;
  FGratMat->Resize(kGratMatColumns, d.NumCalLines);
  int parallels = 0;
  int meridians = 0;
  for (int r = 1; r <= d.NumCalLines; ++r) {
    const TCalibLine& line = d.CalLines[r];
    const bool parallel = line.LineType == gtlParallel;
    FGratMat->SetElement(1, r, parallel ? 1.0 : 0.0);
    FGratMat->SetElement(2, r, line.LineValue);
    if (line.NumPoints < kMinLinePoints) continue;
    // A parallel gives the row from the column, a meridian the column from the row.
    std::vector<double> along, across;
    for (int k = 1; k <= line.NumPoints; ++k) {
      const TPoint p = line.CalPoints[k];
      along.push_back(parallel ? p.X : p.Y);
      across.push_back(parallel ? p.Y : p.X);
    }
    const TParabolaFit fit = FitParabola(along, across);
    FGratMat->SetElement(3, r, fit.K0);
    FGratMat->SetElement(4, r, fit.K1);
    FGratMat->SetElement(5, r, fit.K2);
    ++(parallel ? parallels : meridians);
  }
  if (parallels >= kMinFittedLines && meridians >= kMinFittedLines) return true;
  ResetGratMat();
  return false;
}

void TGeoCalibration::CalcBiquadParams() {
  FParams.FCalParsPLSP = {};
  FParams.FCalParsSPPL = {};
  const int n = FCalibData.NumCalQuads;
  if (n == 0) return;
  std::vector<double> pixelRows, coordRows, lat, lon, px, py;
  for (int i = 1; i <= n; ++i) {
    const TCalQuad& q = FCalibData.CalQuads[i];
    // Products of pixels in doubles: exact for every 32-bit pixel that fits 2^26.
    const double x = q.MapX;
    const double y = q.MapY;
    pixelRows.insert(pixelRows.end(), {1.0, x, y, x * x, x * y, y * y});
    coordRows.insert(coordRows.end(), {1.0, q.Latitude, q.Longitude, q.Latitude * q.Latitude,
                                       q.Latitude * q.Longitude, q.Longitude * q.Longitude});
    lat.push_back(q.Latitude);
    lon.push_back(q.Longitude);
    px.push_back(x);
    py.push_back(y);
  }
  TCalibParams& p = FParams;
  SolveLeastSquares(6, pixelRows, lat, &p.FCalParsPLSP[1][1]);
  SolveLeastSquares(6, pixelRows, lon, &p.FCalParsPLSP[2][1]);
  SolveLeastSquares(6, coordRows, px, &p.FCalParsSPPL[1][1]);
  SolveLeastSquares(6, coordRows, py, &p.FCalParsSPPL[2][1]);
}

void TGeoCalibration::CalcLinearParams() {
  FParams.FEquRectPLSP = {};
  FParams.FEquRectSPPL = {};
  const int n = FCalibData.NumCalQuads;
  if (n == 0) return;
  std::vector<double> pixelRows, coordRows, lat, lon, px, py;
  for (int i = 1; i <= n; ++i) {
    const TCalQuad& q = FCalibData.CalQuads[i];
    pixelRows.insert(pixelRows.end(), {1.0, double(q.MapX), double(q.MapY)});
    coordRows.insert(coordRows.end(), {1.0, q.Latitude, q.Longitude});
    lat.push_back(q.Latitude);
    lon.push_back(q.Longitude);
    px.push_back(q.MapX);
    py.push_back(q.MapY);
  }
  TCalibParams& p = FParams;
  SolveLeastSquares(3, pixelRows, lat, &p.FEquRectPLSP[1][1]);
  SolveLeastSquares(3, pixelRows, lon, &p.FEquRectPLSP[2][1]);
  SolveLeastSquares(3, coordRows, px, &p.FEquRectSPPL[1][1]);
  SolveLeastSquares(3, coordRows, py, &p.FEquRectSPPL[2][1]);
}

void TGeoCalibration::CalcMillerParams() {
  const int n = FCalibData.NumCalQuads;
  if (n < kMinModelPoints) return;
  std::vector<double> lambda, mapX, millerY, mapY;
  for (int i = 1; i <= n; ++i) {
    const TCalQuad& q = FCalibData.CalQuads[i];
    lambda.push_back(q.Longitude * kRadPerDeg);
    mapX.push_back(q.MapX);
    millerY.push_back(MillerY(q.Latitude));
    mapY.push_back(q.MapY);
  }
  const TLineFit a = FitLine(lambda, mapX);
  FParams.FMillercylPar[2][1] = a.K;
  FParams.FMillercylPar[2][2] = a.D;
  const TLineFit b = FitLine(millerY, mapY);
  FParams.FMillercylPar[1][1] = b.K;
  FParams.FMillercylPar[1][2] = b.D;
}

void TGeoCalibration::FitConicApex(double& Rho1, double& Rho2) {
  TArray1<double, 6>& c = FParams.FConicPars;
  const double x0 = c[1];
  const double y0 = c[2];
  const int n = FCalibData.NumCalQuads;
  std::vector<double> r(static_cast<std::size_t>(n)), lat(static_cast<std::size_t>(n));
  std::vector<double> theta, lon;
  theta.reserve(static_cast<std::size_t>(n));
  lon.reserve(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    const TCalQuad& q = FCalibData.CalQuads[i];
    const double dx = q.MapX - x0;
    const double dy = q.MapY - y0;
    r[static_cast<std::size_t>(i - 1)] = std::sqrt(dx * dx + dy * dy);
    lat[static_cast<std::size_t>(i - 1)] = q.Latitude;
    if (q.MapY != y0) {
      theta.push_back(std::atan(dx / dy));
      lon.push_back(q.Longitude);
    }
  }
  const TLineFit radial = FitLine(r, lat);
  c[3] = radial.K;
  c[4] = radial.D;
  double sum = 0.0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const double e = lat[i] - radial.K * r[i] - radial.D;
    sum += e * e;
  }
  Rho1 = std::sqrt(sum / n);

  const TLineFit angular = FitLine(theta, lon);
  c[5] = angular.K;
  c[6] = angular.D;
  sum = 0.0;
  for (std::size_t i = 0; i < theta.size(); ++i) {
    const double e = lon[i] - angular.K * theta[i] - angular.D;
    sum += e * e;
  }
  Rho2 = std::sqrt(sum / n);
}

void TGeoCalibration::CalcConicParams() {
  const TCalibData& d = FCalibData;
  if (d.NumCalQuads < kMinModelPoints) return;
  int32_t minX = FMapImgWidth, maxX = 0, minY = FMapImgHeight, maxY = 0;
  for (int i = 1; i <= d.NumCalQuads; ++i) {
    const TCalQuad& q = d.CalQuads[i];
    if (q.MapX < minX) minX = q.MapX;
    if (q.MapX > maxX) maxX = q.MapX;
    if (q.MapY < minY) minY = q.MapY;
    if (q.MapY > maxY) maxY = q.MapY;
  }
  int64_t cx = (int64_t{minX} + maxX) / 2;
  int64_t cy = (int64_t{minY} + maxY) / 2;

  // A fit error leaves the parameters as they were, not at the candidate being tried.
  const TArray1<double, 6> before = FParams.FConicPars;
  TArray1<double, 6> kept = before;
  double best = kConicStartBest;
  try {
    for (int32_t step = kConicStartStep; step > 0; step /= 2) {
      for (int i = -kConicReach; i <= kConicReach; ++i) {
        for (int j = -kConicReach; j <= kConicReach; ++j) {
          FParams.FConicPars[1] = static_cast<double>(cx + int64_t{i} * step);
          FParams.FConicPars[2] = static_cast<double>(cy + int64_t{j} * step);
          double rho1 = 0.0;
          double rho2 = 0.0;
          FitConicApex(rho1, rho2);
          const double e = rho1 * rho1 + rho2 * rho2;
          if (e < best) {
            best = e;
            kept = FParams.FConicPars;
          }
        }
      }
      cx = static_cast<int64_t>(std::nearbyint(kept[1]));
      cy = static_cast<int64_t>(std::nearbyint(kept[2]));
    }
  } catch (...) {
    FParams.FConicPars = before;
    throw;
  }
  FParams.FConicPars = kept;
}
