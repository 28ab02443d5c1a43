// Conversions between map image pixels, control pixels and geographic coordinates, the map's
// extents and resolution. Conversions read the fitted parameters as they are and never refit.
#include "KVL_conversion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "KVL_calibration.h"
#include "KVL_geobasics.h"
#include "KVL_math2_curvefit.h"
#include "KVL_matrix.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadPerDeg = kPi / 180.0;
constexpr double kMillerLatScale = 143.2394487827058;  // 2.5 · 180/π
constexpr double kFarAway = 1e20;  // start distance of the nearest-line searches
constexpr int kMinLinesOfEachKind = 2;  // parallels and meridians for cmParabolicIp
constexpr int32_t kMinGratMatRows = 4;
constexpr int kParabolicMaxRounds = 15;
constexpr double kParabolicStartX = 500.0;
constexpr double kParabolicDivergence = 50000.0;  // pixels
constexpr double kEarthRadius = 6378000.0;        // metres, sphere of the resolution
constexpr double kFullCircumference = 40074155.88919140;  // 2π · kEarthRadius
constexpr double kHalfCircumference = 20037077.94459570;

// The rows of FGratMat nearest to a target: Nearest and Second are row numbers, 0 when none.
struct TNearestRows {
  int32_t Nearest = 0;
  int32_t Second = 0;
};

// Keeps the nearest and second nearest row by distance; ties keep the earlier row.
class TNearestSearch {
 public:
  void Offer(int32_t Row, double Distance) {
    if (Distance < FNearestDist) {
      FSecondDist = FNearestDist;
      FRows.Second = FRows.Nearest;
      FNearestDist = Distance;
      FRows.Nearest = Row;
    } else if (Distance < FSecondDist) {
      FSecondDist = Distance;
      FRows.Second = Row;
    }
  }
  TNearestRows Rows() const { return FRows; }
  bool Complete() const { return FRows.Nearest != 0 && FRows.Second != 0; }

 private:
  double FNearestDist = kFarAway;
  double FSecondDist = kFarAway;
  TNearestRows FRows;
};

double Parabola(const TMatrix& m, int32_t row, double t) {
  return m.Element(3, row) + m.Element(4, row) * t + m.Element(5, row) * t * t;
}

// The value that is reported for a non-finite latitude or longitude.
double Checked(double value, bool& valid) {
  if (std::isfinite(value)) return value;
  valid = false;
  return 0.0;
}

// Pixel pair of two real positions; false, with x and y untouched, when either is not finite.
bool ToPixels(double fx, double fy, int32_t& x, int32_t& y) {
  int32_t px = 0;
  int32_t py = 0;
  if (!RealToPixel(fx, px) || !RealToPixel(fy, py)) return false;
  x = px;
  y = py;
  return true;
}

}  // namespace

// ---- rounding and the view transform -----------------------------------------------------------

bool RealToPixel(double Value, int32_t& Pixel) {
  if (!std::isfinite(Value)) return false;
  Pixel = static_cast<int32_t>(std::nearbyint(std::clamp(Value, -kMaxPixelCoord, kMaxPixelCoord)));
  return true;
}

int32_t RoundPixel(double Value) {
  int32_t pixel = 0;
  RealToPixel(Value, pixel);
  return pixel;
}

TPoint ControlToMapImage(TPoint APoint, TPoint TopLeft, double Magnification) {
  return TPoint{RoundPixel(RoundPixel(APoint.X / Magnification) + double(TopLeft.X)),
                RoundPixel(RoundPixel(APoint.Y / Magnification) + double(TopLeft.Y))};
}

TPoint MapImageToControl(TPoint APoint, TPoint TopLeft, double Magnification) {
  return TPoint{RoundPixel((double(APoint.X) - TopLeft.X) * Magnification),
                RoundPixel((double(APoint.Y) - TopLeft.Y) * Magnification)};
}

// ---- pixel to geographic -----------------------------------------------------------------------

double TGeoCalibration::ParabolicLatLong(bool Latitude, int32_t x, int32_t y, bool& valid) const {
  valid = false;
  const TMatrix& m = *FGratMat;
  int parallels = 0;
  int meridians = 0;
  for (int32_t r = 1; r <= m.NrOfRows(); ++r) {
    const double kind = std::nearbyint(m.Element(1, r));
    if (kind == 1.0) ++parallels;
    if (kind == 0.0) ++meridians;
  }
  if (parallels < kMinLinesOfEachKind || meridians < kMinLinesOfEachKind) return 0.0;

  // Latitude: distance of the pixel from each parallel's parabola, row from column. Longitude:
  // the same with the meridians, column from row.
  const double wantedKind = Latitude ? 1.0 : 0.0;
  const double along = Latitude ? x : y;
  const double across = Latitude ? y : x;
  TNearestSearch search;
  for (int32_t r = 1; r <= m.NrOfRows(); ++r) {
    if (m.Element(1, r) == wantedKind) search.Offer(r, std::abs(across - Parabola(m, r, along)));
  }
  if (!search.Complete()) return 0.0;
  const TNearestRows rows = search.Rows();
  const double c1 = Parabola(m, rows.Nearest, along);
  const double c2 = Parabola(m, rows.Second, along);
  // Two lines that meet at this pixel give no interpolation: not valid.
  if (c1 == c2) return 0.0;
  const double v1 = m.Element(2, rows.Nearest);
  const double v2 = m.Element(2, rows.Second);
  valid = true;
  return Checked(v2 + (v1 - v2) * (across - c2) / (c1 - c2), valid);
}

TPointDouble TGeoCalibration::UTMPixelToLatLong(double fx, double fy) const {
  const auto& n = FParams.FEquRectPLSP[1];
  const auto& e = FParams.FEquRectPLSP[2];
  TPointDouble lonLat;
  UTMToLatLong(FCalibData.UTMZone, FCalibData.UTMSouth, FCalibData.Ellipsoid,
               e[1] + e[2] * fx + e[3] * fy, n[1] + n[2] * fx + n[3] * fy, lonLat.Y, lonLat.X);
  return lonLat;
}

double TGeoCalibration::CalcLatitude(int32_t x, int32_t y, bool& valid) const {
  const TCalibParams& p = FParams;
  const double fx = x;
  const double fy = y;
  valid = true;
  double lat = 0.0;
  switch (FCalibModel) {
    case cmParabolicIp:
      return ParabolicLatLong(true, x, y, valid);
    case cmBiquadraticPn: {
      const auto& c = p.FCalParsPLSP[1];
      lat = c[1] + c[2] * fx + c[3] * fy + c[4] * fx * fx + c[5] * fx * fy + c[6] * fy * fy;
      break;
    }
    case cmConicConformal: {
      const auto& c = p.FConicPars;
      lat = c[3] * std::hypot(fx - c[1], fy - c[2]) + c[4];
      break;
    }
    case cmMillerCylindrical: {
      const double kB = p.FMillercylPar[1][1];
      const double dB = p.FMillercylPar[1][2];
      if (kB == 0.0) {
        valid = false;
        return 0.0;
      }
      lat = (std::atan(std::exp((fy - dB) / kB)) - kPi / 4.0) * kMillerLatScale;
      break;
    }
    case cmEquiRect: {
      const auto& c = p.FEquRectPLSP[1];
      lat = c[1] + c[2] * fx + c[3] * fy;
      break;
    }
    case cmUTM:
      lat = UTMPixelToLatLong(fx, fy).Y;
      break;
    case cmUndefined:
      valid = false;
      return 0.0;
  }
  return Checked(lat, valid);
}

double TGeoCalibration::CalcLongitude(int32_t x, int32_t y, bool& valid) const {
  const TCalibParams& p = FParams;
  const double fx = x;
  const double fy = y;
  valid = true;
  double lon = 0.0;
  switch (FCalibModel) {
    case cmParabolicIp:
      return ParabolicLatLong(false, x, y, valid);
    case cmBiquadraticPn: {
      const auto& c = p.FCalParsPLSP[2];
      lon = c[1] + c[2] * fx + c[3] * fy + c[4] * fx * fx + c[5] * fx * fy + c[6] * fy * fy;
      break;
    }
    case cmConicConformal: {
      const auto& c = p.FConicPars;
      const double dx = fx - c[1];
      const double dy = fy - c[2];
      // On the apex's row the angle is the limit ±π/2; the apex itself has no direction.
      if (dx == 0.0 && dy == 0.0) {
        valid = false;
        return 0.0;
      }
      const double theta = dy != 0.0 ? std::atan(dx / dy) : std::copysign(kPi / 2.0, dx);
      lon = c[5] * theta + c[6];
      break;
    }
    case cmMillerCylindrical: {
      const double kA = p.FMillercylPar[2][1];
      const double dA = p.FMillercylPar[2][2];
      if (kA == 0.0) {
        valid = false;
        return 0.0;
      }
      lon = (fx - dA) / kA / kPi * 180.0;
      break;
    }
    case cmEquiRect: {
      const auto& c = p.FEquRectPLSP[2];
      lon = c[1] + c[2] * fx + c[3] * fy;
      break;
    }
    case cmUTM:
      lon = UTMPixelToLatLong(fx, fy).X;
      break;
    case cmUndefined:
      valid = false;
      return 0.0;
  }
  return Checked(lon, valid);
}

// ---- geographic to pixel -----------------------------------------------------------------------

bool TGeoCalibration::ParabolicPixel(double Lat, double Long, int32_t& x, int32_t& y) const {
  const TMatrix& m = *FGratMat;
  if (m.NrOfRows() < kMinGratMatRows) return false;
  TNearestSearch meridians;
  TNearestSearch parallels;
  for (int32_t r = 1; r <= m.NrOfRows(); ++r) {
    if (m.Element(1, r) == 0.0) meridians.Offer(r, std::abs(m.Element(2, r) - Long));
    if (m.Element(1, r) == 1.0) parallels.Offer(r, std::abs(m.Element(2, r) - Lat));
  }
  if (!meridians.Complete() || !parallels.Complete()) return false;

  // Coefficients of the wanted line, interpolated between the two nearest lines of its kind.
  const auto interpolate = [&m](TNearestRows rows, double value, int32_t column) {
    const double v1 = m.Element(2, rows.Nearest);
    const double v2 = m.Element(2, rows.Second);
    const double c1 = m.Element(column, rows.Nearest);
    const double c2 = m.Element(column, rows.Second);
    return c2 + (value - v2) * (c1 - c2) / (v1 - v2);
  };
  double P[6] = {};
  double M[6] = {};
  for (int32_t k = 3; k <= 5; ++k) {
    P[k] = interpolate(parallels.Rows(), Lat, k);
    M[k] = interpolate(meridians.Rows(), Long, k);
  }
  double fx = kParabolicStartX;
  double fy = 0.0;
  for (int round = 0; round < kParabolicMaxRounds; ++round) {
    fy = P[3] + P[4] * fx + P[5] * fx * fx;
    fx = M[3] + M[4] * fy + M[5] * fy * fy;
    if (std::abs(fx) > kParabolicDivergence && std::abs(fy) > kParabolicDivergence) return false;
  }
  return ToPixels(fx, fy, x, y);
}

bool TGeoCalibration::CalcPixelCoords(double Lat, double Long, int32_t& x, int32_t& y) const {
  const TCalibParams& p = FParams;
  switch (FCalibModel) {
    case cmParabolicIp:
      return ParabolicPixel(Lat, Long, x, y);
    case cmBiquadraticPn: {
      const auto& s = p.FCalParsSPPL[1];
      const auto& t = p.FCalParsSPPL[2];
      const double a = Lat;
      const double b = Long;
      return ToPixels(s[1] + s[2] * a + s[3] * b + s[4] * a * a + s[5] * a * b + s[6] * b * b,
                      t[1] + t[2] * a + t[3] * b + t[4] * a * a + t[5] * a * b + t[6] * b * b, x,
                      y);
    }
    case cmConicConformal: {
      const auto& c = p.FConicPars;
      if (c[3] == 0.0 || c[5] == 0.0) {
        x = 0;
        y = 0;
        return true;
      }
      const double theta = (Long - c[6]) / c[5];
      const double w = std::sqrt(std::tan(theta) * std::tan(theta) + 1.0);
      const double r = (Lat - c[4]) / c[3];
      int32_t py = 0;
      if (!RealToPixel(Lat >= 0.0 ? c[2] + r / w : c[2] - r / w, py)) return false;
      int32_t px = 0;
      if (!RealToPixel(std::tan(theta) * (py - c[2]) + c[1], px)) return false;
      x = px;
      y = py;
      return true;
    }
    case cmMillerCylindrical: {
      const auto& m = p.FMillercylPar;
      return ToPixels(m[2][1] * Long * kRadPerDeg + m[2][2],
                      m[1][1] * std::log(std::tan(0.4 * Lat * kRadPerDeg + kPi / 4.0)) + m[1][2],
                      x, y);
    }
    case cmEquiRect: {
      const auto& s = p.FEquRectSPPL;
      return ToPixels(s[1][1] + s[1][2] * Lat + s[1][3] * Long,
                      s[2][1] + s[2][2] * Lat + s[2][3] * Long, x, y);
    }
    case cmUTM: {
      int zone = 0;
      double easting = 0.0;
      double northing = 0.0;
      LatLongToUTM(FCalibData.Ellipsoid, Lat, Long, zone, easting, northing);
      const auto& s = p.FEquRectSPPL;
      return ToPixels(s[1][1] + s[1][2] * northing + s[1][3] * easting,
                      s[2][1] + s[2][2] * northing + s[2][3] * easting, x, y);
    }
    case cmUndefined:
      return false;
  }
  return false;
}

bool TGeoCalibration::CalcPixelCoordsUTM(double Northing, double Easting, int32_t& x,
                                         int32_t& y) const {
  x = 0;
  y = 0;
  if (FCalibModel != cmUTM) return false;
  const auto& s = FParams.FEquRectSPPL;
  return ToPixels(s[1][1] + s[1][2] * Northing + s[1][3] * Easting,
                  s[2][1] + s[2][2] * Northing + s[2][3] * Easting, x, y);
}

std::optional<int32_t> TGeoCalibration::RowOnNorthing(int32_t x, double N) const {
  const auto& s = FParams.FEquRectSPPL;
  if (s[1][3] == 0.0) return std::nullopt;
  const double e = (x - s[1][1] - s[1][2] * N) / s[1][3];
  int32_t row = 0;
  if (!RealToPixel(s[2][1] + s[2][2] * N + s[2][3] * e, row)) return std::nullopt;
  return row;
}

std::optional<int32_t> TGeoCalibration::ColumnOnEasting(int32_t y, double E) const {
  const auto& s = FParams.FEquRectSPPL;
  if (s[2][2] == 0.0) return std::nullopt;
  const double n = (y - s[2][1] - s[2][3] * E) / s[2][2];
  int32_t column = 0;
  if (!RealToPixel(s[1][1] + s[1][2] * n + s[1][3] * E, column)) return std::nullopt;
  return column;
}

// ---- extents -----------------------------------------------------------------------------------

void TGeoCalibration::CalcExtentsAndResolution() {
  const int32_t w = FBitmapWidth;
  const int32_t h = FBitmapHeight;
  const auto coords = [this](int32_t x, int32_t y) {
    bool valid = false;  // ignored: an uncalibrated map gets what the conversions return
    const double lat = CalcLatitude(x, y, valid);
    return TCoords{lat, CalcLongitude(x, y, valid)};
  };
  TCornerArray& corners = FCalibData.Corners;
  corners[gcoTopLeft] = coords(0, 0);
  corners[gcoBottomLeft] = coords(0, h);
  corners[gcoBottomRight] = coords(w, h);
  corners[gcoTopRight] = coords(w, 0);
  const TCoords p1 = coords(0, h / 2);
  const TCoords p2 = coords(w, h / 2);
  if (w < 1) {
    FCalibData.Resolution = 0.0;
    return;
  }
  double d = SphericalDistance(kEarthRadius, p1.Latit, p1.Longit, p2.Latit, p2.Longit);
  const double span = p2.Longit - p1.Longit;
  if (span > 360.0) {
    d += kFullCircumference;
  } else if (span > 180.0) {
    d += kHalfCircumference;
  }
  FCalibData.Resolution = d / w;
}

// ---- position test -----------------------------------------------------------------------------

bool TGeoCalibration::IsPositionWithinMap(double Latit, double Longit) const {
  const TCornerArray& c = FCalibData.Corners;
  // Points as (longitude, latitude), the corners in the order TL, BL, BR, TR.
  const TCoords k[4] = {c[gcoTopLeft], c[gcoBottomLeft], c[gcoBottomRight], c[gcoTopRight]};
  const auto cross = [](double uLong, double uLat, double vLong, double vLat) {
    return uLong * vLat - uLat * vLong;
  };
  const double s0 = cross(k[3].Longit - k[0].Longit, k[3].Latit - k[0].Latit,
                          Longit - k[0].Longit, Latit - k[0].Latit);
  for (int i = 0; i < 3; ++i) {
    const double si = cross(k[i].Longit - k[i + 1].Longit, k[i].Latit - k[i + 1].Latit,
                            Longit - k[i + 1].Longit, Latit - k[i + 1].Latit);
    if (!(si * s0 > 0.0)) return false;
  }
  return true;
}
