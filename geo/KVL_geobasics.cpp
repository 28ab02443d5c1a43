#include "KVL_geobasics.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

// The UTM area and the grid of zones and bands.
constexpr double kSouthLimit = -80.0;  // degrees
constexpr double kNorthLimit = 84.0;   // degrees
constexpr int kZoneCount = 60;
constexpr int kZoneWidth = 6;  // degrees

// What the series need of one ellipsoid, derived from its two axes at compile time.
struct TSeriesConstants {
  double PolarRadius;  // a^2 / b: N = PolarRadius / sqrt(1 + eta^2)
  double SecondEcc2;   // e'^2 = (a^2 - b^2) / b^2
  double Alpha;        // meridian arc per radian of the rectifying latitude
  std::array<double, 4> Arc;        // beta ... epsilon: latitude to meridian arc
  std::array<double, 4> Footpoint;  // beta' ... epsilon': rectifying to footpoint latitude
};

constexpr TSeriesConstants MakeSeriesConstants(TEllipsoidAxes axes) {
  const double a = axes.SemiMajor;
  const double b = axes.SemiMinor;
  const double n = (a - b) / (a + b);
  const double n2 = n * n;
  const double n3 = n2 * n;
  const double n4 = n3 * n;
  const double n5 = n4 * n;
  return {
      a * a / b,
      (a * a - b * b) / (b * b),
      (a + b) / 2 * (1 + n2 / 4 + n4 / 64),
      {-3 * n / 2 + 9 * n3 / 16 - 3 * n5 / 32, 15 * n2 / 16 - 15 * n4 / 32,
       -35 * n3 / 48 + 105 * n5 / 256, 315 * n4 / 512},
      {3 * n / 2 - 27 * n3 / 32 + 269 * n5 / 512, 21 * n2 / 16 - 55 * n4 / 32,
       151 * n3 / 96 - 417 * n5 / 128, 1097 * n4 / 512},
  };
}

constexpr auto kSeries = [] {
  std::array<TSeriesConstants, kEllipsoidCount> series{};
  for (std::size_t i = 0; i < kEllipsoidCount; ++i) series[i] = MakeSeriesConstants(EllipsoidAxes[i]);
  return series;
}();

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool IsKnown(TGeoEllipsoid ellipsoid) { return ellipsoid < kEllipsoidCount; }

// c[0] sin 2x + c[1] sin 4x + c[2] sin 6x + c[3] sin 8x from sin x and cos x alone (Clenshaw).
double SineSeries(const std::array<double, 4>& c, double sinX, double cosX) {
  const double sin2X = 2 * sinX * cosX;
  const double twoCos2X = 2 * (cosX - sinX) * (cosX + sinX);
  const double b4 = c[3];
  const double b3 = c[2] + twoCos2X * b4;
  const double b2 = c[1] + twoCos2X * b3 - b4;
  const double b1 = c[0] + twoCos2X * b2 - b3;
  return b1 * sin2X;
}

double ArcOf(const TSeriesConstants& e, double lat, double sinLat, double cosLat) {
  return e.Alpha * (lat + SineSeries(e.Arc, sinLat, cosLat));
}

double FootpointOf(const TSeriesConstants& e, double arc) {
  const double mu = arc / e.Alpha;
  return mu + SineSeries(e.Footpoint, std::sin(mu), std::cos(mu));
}

}  // namespace

void CalcUTMZone(double Lat, double Long, int& Zone, char& Band) noexcept {
  Zone = 0;
  Band = ' ';
  if (!(Lat >= kSouthLimit && Lat <= kNorthLimit && Long >= -180.0 && Long < 180.0)) return;
  // Zone and band edges are whole degrees: flooring the input first keeps the rest in integers,
  // so a point just beside an edge is never rounded across it.
  const int lat = static_cast<int>(std::floor(Lat));
  const int lon = static_cast<int>(std::floor(Long));
  int band = (lat - static_cast<int>(kSouthLimit)) / 8;
  if (band >= 6) ++band;    // no band I
  if (band >= 12) ++band;   // no band O
  if (band >= 21) band = 21;  // X spans 72N ... 84N
  Band = static_cast<char>('C' + band);
  Zone = (lon + 180) / kZoneWidth + 1;
  if (Band == 'V' && Long >= 3.0 && Long < 12.0) Zone = 32;  // the Norway exception
  if (Band == 'X' && Long >= 0.0 && Long < 42.0) Zone = (lon + 3) / 12 * 2 + 31;  // Svalbard
}

double UTMCentralMeridian(int Zone) noexcept {
  if (Zone < 1 || Zone > kZoneCount) return 0.0;
  return static_cast<double>((kZoneWidth * Zone - 183) * kDegToRad);
}

double MeridianArc(TGeoEllipsoid Ellipsoid, double Lat) noexcept {
  if (!IsKnown(Ellipsoid)) return kNaN;
  return ArcOf(kSeries[Ellipsoid], Lat, std::sin(Lat), std::cos(Lat));
}

double FootpointLatitude(TGeoEllipsoid Ellipsoid, double Arc) noexcept {
  if (!IsKnown(Ellipsoid)) return kNaN;
  return FootpointOf(kSeries[Ellipsoid], Arc);
}

// The series in powers of l^2 cos^2 (Horner), with one sine and cosine of the latitude serving
// t, eta^2, N, the cosine powers and the meridian arc alike.
void LatLongToTM(TGeoEllipsoid Ellipsoid, double Lat, double Long, double CentralMeridian,
                 double& X, double& Y) noexcept {
  if (!IsKnown(Ellipsoid)) {
    X = Y = kNaN;
    return;
  }
  const TSeriesConstants& e = kSeries[Ellipsoid];
  const double s = std::sin(Lat);
  const double c = std::cos(Lat);
  const double t = s / c;
  const double t2 = t * t;
  const double t4 = t2 * t2;
  const double t6 = t4 * t2;
  const double c2 = c * c;
  const double eta2 = e.SecondEcc2 * c2;
  const double N = e.PolarRadius / std::sqrt(1 + eta2);
  const double l = Long - CentralMeridian;
  const double l2 = l * l;
  const double u = c2 * l2;

  const double x1 = (1 - t2 + eta2) * (1.0 / 6);
  const double x2 = (5 - 18 * t2 + t4 + 14 * eta2 - 58 * t2 * eta2) * (1.0 / 120);
  const double x3 = (61 - 479 * t2 + 179 * t4 - t6) * (1.0 / 5040);
  X = N * c * l * (1 + u * (x1 + u * (x2 + u * x3)));

  const double y1 = (5 - t2 + 9 * eta2 + 4 * eta2 * eta2) * (1.0 / 12);
  const double y2 = (61 - 58 * t2 + t4 + 270 * eta2 - 330 * t2 * eta2) * (1.0 / 360);
  const double y3 = (1385 - 3111 * t2 + 543 * t4 - t6) * (1.0 / 20160);
  Y = ArcOf(e, Lat, s, c) + N * s * c * l2 * 0.5 * (1 + u * (y1 + u * (y2 + u * y3)));
}

// The series in powers of (X / Nf)^2 (Horner).
void TMToLatLong(TGeoEllipsoid Ellipsoid, double X, double Y, double CentralMeridian,
                 double& Lat, double& Long) noexcept {
  if (!IsKnown(Ellipsoid)) {
    Lat = Long = kNaN;
    return;
  }
  const TSeriesConstants& e = kSeries[Ellipsoid];
  const double latF = FootpointOf(e, Y);
  const double s = std::sin(latF);
  const double c = std::cos(latF);
  const double t = s / c;
  const double t2 = t * t;
  const double t4 = t2 * t2;
  const double t6 = t4 * t2;
  const double eta2 = e.SecondEcc2 * c * c;
  const double eta4 = eta2 * eta2;
  const double N = e.PolarRadius / std::sqrt(1 + eta2);
  const double q = X / N;
  const double v = q * q;

  const double p1 = (-1 - eta2) * 0.5;
  const double p2 = (5 + 3 * t2 + 6 * eta2 - 6 * t2 * eta2 - 3 * eta4 - 9 * t2 * eta4) * (1.0 / 24);
  const double p3 = (-61 - 90 * t2 - 45 * t4 - 107 * eta2 + 162 * t2 * eta2) * (1.0 / 720);
  const double p4 = (1385 + 3633 * t2 + 4095 * t4 + 1575 * t6) * (1.0 / 40320);
  Lat = latF + t * v * (p1 + v * (p2 + v * (p3 + v * p4)));

  const double q1 = (-1 - 2 * t2 - eta2) * (1.0 / 6);
  const double q2 = (5 + 28 * t2 + 24 * t4 + 6 * eta2 + 8 * t2 * eta2) * (1.0 / 120);
  const double q3 = (-61 - 662 * t2 - 1320 * t4 - 720 * t6) * (1.0 / 5040);
  Long = CentralMeridian + q / c * (1 + v * (q1 + v * (q2 + v * q3)));
}

void LatLongToUTM(TGeoEllipsoid Ellipsoid, double Lat, double Long, int& Zone, double& Easting,
                  double& Northing) noexcept {
  char band = ' ';
  CalcUTMZone(Lat, Long, Zone, band);
  double x = 0.0;
  double y = 0.0;
  LatLongToTM(Ellipsoid, static_cast<double>(Lat * kDegToRad),
              static_cast<double>(Long * kDegToRad), UTMCentralMeridian(Zone), x, y);
  Easting = kUtmScale * x + kUtmFalseEasting;
  Northing = kUtmScale * y;
  if (Northing < 0.0) Northing += kUtmFalseNorthingSouth;
}

void UTMToLatLong(int Zone, bool South, TGeoEllipsoid Ellipsoid, double Easting, double Northing,
                  double& Lat, double& Long) noexcept {
  const double x = (Easting - kUtmFalseEasting) / kUtmScale;
  const double y = (South ? Northing - kUtmFalseNorthingSouth : Northing) / kUtmScale;
  double lat = 0.0;
  double lon = 0.0;
  TMToLatLong(Ellipsoid, x, y, UTMCentralMeridian(Zone), lat, lon);
  Lat = lat * kRadToDeg;
  Long = lon * kRadToDeg;
}
