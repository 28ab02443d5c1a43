// The UTM series evaluated term by term exactly as written, with a sine per multiple angle and no
// shared subexpressions. In long double it is the yardstick for the optimised library code
// (tests); in double it is the plain evaluation the benchmark compares with. Inputs and results
// are doubles as in the library; Real is the arithmetic in between.
#pragma once

#include <cmath>

#include "KVL_geobasics.h"

namespace reference {

template <typename Real>
struct Ellipsoid {
  Real a;
  Real b;
  Real n() const { return (a - b) / (a + b); }
  Real ep2() const { return (a * a - b * b) / (b * b); }
  Real alpha() const { return (a + b) / 2 * (1 + std::pow(n(), 2) / 4 + std::pow(n(), 4) / 64); }
};

template <typename Real>
Ellipsoid<Real> Of(TGeoEllipsoid e) {
  return {EllipsoidAxes[e].SemiMajor, EllipsoidAxes[e].SemiMinor};
}

template <typename Real>
Real MeridianArc(const Ellipsoid<Real>& e, Real phi) {
  const Real n = e.n();
  const Real beta = -3 * n / 2 + 9 * std::pow(n, 3) / 16 - 3 * std::pow(n, 5) / 32;
  const Real gamma = 15 * std::pow(n, 2) / 16 - 15 * std::pow(n, 4) / 32;
  const Real delta = -35 * std::pow(n, 3) / 48 + 105 * std::pow(n, 5) / 256;
  const Real epsilon = 315 * std::pow(n, 4) / 512;
  return e.alpha() * (phi + beta * std::sin(2 * phi) + gamma * std::sin(4 * phi) +
                      delta * std::sin(6 * phi) + epsilon * std::sin(8 * phi));
}

template <typename Real>
Real FootpointLatitude(const Ellipsoid<Real>& e, Real y) {
  const Real n = e.n();
  const Real mu = y / e.alpha();
  const Real beta = 3 * n / 2 - 27 * std::pow(n, 3) / 32 + 269 * std::pow(n, 5) / 512;
  const Real gamma = 21 * std::pow(n, 2) / 16 - 55 * std::pow(n, 4) / 32;
  const Real delta = 151 * std::pow(n, 3) / 96 - 417 * std::pow(n, 5) / 128;
  const Real epsilon = 1097 * std::pow(n, 4) / 512;
  return mu + beta * std::sin(2 * mu) + gamma * std::sin(4 * mu) + delta * std::sin(6 * mu) +
         epsilon * std::sin(8 * mu);
}

template <typename Real>
void LatLongToTM(const Ellipsoid<Real>& e, Real phi, Real lambda, Real lambda0, Real& x, Real& y) {
  const Real t = std::tan(phi);
  const Real c = std::cos(phi);
  const Real eta2 = e.ep2() * c * c;
  const Real N = e.a * e.a / (e.b * std::sqrt(1 + eta2));
  const Real l = lambda - lambda0;
  const Real t2 = t * t;
  x = N * c * l +
      N / 6 * std::pow(c, 3) * (1 - t2 + eta2) * std::pow(l, 3) +
      N / 120 * std::pow(c, 5) * (5 - 18 * t2 + t2 * t2 + 14 * eta2 - 58 * t2 * eta2) * std::pow(l, 5) +
      N / 5040 * std::pow(c, 7) * (61 - 479 * t2 + 179 * t2 * t2 - t2 * t2 * t2) * std::pow(l, 7);
  y = MeridianArc(e, phi) +
      N * t / 2 * c * c * l * l +
      N * t / 24 * std::pow(c, 4) * (5 - t2 + 9 * eta2 + 4 * eta2 * eta2) * std::pow(l, 4) +
      N * t / 720 * std::pow(c, 6) * (61 - 58 * t2 + t2 * t2 + 270 * eta2 - 330 * t2 * eta2) * std::pow(l, 6) +
      N * t / 40320 * std::pow(c, 8) * (1385 - 3111 * t2 + 543 * t2 * t2 - t2 * t2 * t2) * std::pow(l, 8);
}

template <typename Real>
void TMToLatLong(const Ellipsoid<Real>& e, Real x, Real y, Real lambda0, Real& phi, Real& lambda) {
  const Real phiF = FootpointLatitude(e, y);
  const Real t = std::tan(phiF);
  const Real c = std::cos(phiF);
  const Real eta2 = e.ep2() * c * c;
  const Real N = e.a * e.a / (e.b * std::sqrt(1 + eta2));
  const Real t2 = t * t;
  const Real t4 = t2 * t2;
  const Real eta4 = eta2 * eta2;
  phi = phiF +
        t / (2 * std::pow(N, 2)) * (-1 - eta2) * std::pow(x, 2) +
        t / (24 * std::pow(N, 4)) * (5 + 3 * t2 + 6 * eta2 - 6 * t2 * eta2 - 3 * eta4 - 9 * t2 * eta4) * std::pow(x, 4) +
        t / (720 * std::pow(N, 6)) * (-61 - 90 * t2 - 45 * t4 - 107 * eta2 + 162 * t2 * eta2) * std::pow(x, 6) +
        t / (40320 * std::pow(N, 8)) * (1385 + 3633 * t2 + 4095 * t4 + 1575 * t4 * t2) * std::pow(x, 8);
  lambda = lambda0 + x / (N * c) +
           std::pow(x, 3) / (6 * std::pow(N, 3) * c) * (-1 - 2 * t2 - eta2) +
           std::pow(x, 5) / (120 * std::pow(N, 5) * c) * (5 + 28 * t2 + 24 * t4 + 6 * eta2 + 8 * t2 * eta2) +
           std::pow(x, 7) / (5040 * std::pow(N, 7) * c) * (-61 - 662 * t2 - 1320 * t4 - 720 * t4 * t2);
}

template <typename Real>
void LatLongToUTM(const Ellipsoid<Real>& e, double lat, double lon, int& zone, double& easting,
                  double& northing) {
  char band = ' ';
  CalcUTMZone(lat, lon, zone, band);
  Real x = 0;
  Real y = 0;
  LatLongToTM<Real>(e, static_cast<double>(lat * kDegToRad), static_cast<double>(lon * kDegToRad),
                    UTMCentralMeridian(zone), x, y);
  const Real scaledY = kUtmScale * y;
  easting = static_cast<double>(kUtmScale * x + kUtmFalseEasting);
  northing = static_cast<double>(scaledY < 0 ? scaledY + kUtmFalseNorthingSouth : scaledY);
}

template <typename Real>
void UTMToLatLong(int zone, bool south, const Ellipsoid<Real>& e, double easting, double northing,
                  double& lat, double& lon) {
  const Real x = (Real(easting) - kUtmFalseEasting) / kUtmScale;
  const Real y = (south ? Real(northing) - kUtmFalseNorthingSouth : Real(northing)) / kUtmScale;
  Real phi = 0;
  Real lambda = 0;
  TMToLatLong<Real>(e, x, y, UTMCentralMeridian(zone), phi, lambda);
  lat = static_cast<double>(phi * kRadToDeg);
  lon = static_cast<double>(lambda * kRadToDeg);
}

}  // namespace reference
