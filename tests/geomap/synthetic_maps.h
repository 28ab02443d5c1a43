// Synthetic maps made from known projections: each gives the exact map image pixel (as a real) of
// a position and the position of a pixel, so that a calibration fitted to rounded pixels can be
// checked against the truth anywhere on the image.
#pragma once

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "KVL_calibration.h"
#include "KVL_geobasics.h"

struct TRealPixel {
  double X = 0.0;
  double Y = 0.0;
};

struct TSyntheticMap {
  std::string Name;
  TCalibModel Model = cmUndefined;
  int32_t Width = 0;  // map image pixels
  int32_t Height = 0;
  std::function<TRealPixel(double Lat, double Long)> ToPixel;
  std::function<TCoords(double x, double y)> ToCoords;
};

inline constexpr double kRad = std::numbers::pi / 180.0;

// Equirectangular: 43.7 px per degree of longitude from 5°E, 61.3 px per degree of latitude
// below 50°N.
inline TSyntheticMap EquirectangularMap() {
  return {"equirectangular",
          cmEquiRect,
          800,
          600,
          [](double lat, double lon) {
            return TRealPixel{(lon - 5.0) * 43.7, (50.0 - lat) * 61.3};
          },
          [](double x, double y) {
            return TCoords{50.0 - y / 61.3, 5.0 + x / 43.7};
          }};
}

// Miller cylindrical over 10°W ... 20°E and 60°N ... 30°N on 1000 x 800 pixels.
inline TSyntheticMap MillerMap() {
  const auto m = [](double lat) {
    return std::log(std::tan(std::numbers::pi / 4 + 0.4 * lat * kRad));
  };
  const double kA = 1000.0 / (30.0 * kRad);
  const double dA = 10.0 * kRad * kA;
  const double kB = 800.0 / (m(30.0) - m(60.0));
  const double dB = -kB * m(60.0);
  return {"miller",
          cmMillerCylindrical,
          1000,
          800,
          [=](double lat, double lon) {
            return TRealPixel{kA * lon * kRad + dA, kB * m(lat) + dB};
          },
          [=](double x, double y) {
            const double lat =
                (std::atan(std::exp((y - dB) / kB)) - std::numbers::pi / 4) * 2.5 / kRad;
            return TCoords{lat, (x - dA) / kA / kRad};
          }};
}

// Conic with its apex (the pole) at pixel (400, -2600), above an 800 x 600 image: latitude falls
// by 0.01° per pixel away from the apex, longitude turns 40° per radian about it.
inline constexpr double kConicApexX = 400.0;
inline constexpr double kConicApexY = -2600.0;
inline TSyntheticMap ConicMap() {
  constexpr double kR = -0.01, dR = 76.0, kA = 40.0, dA = 10.0;
  return {"conic",
          cmConicConformal,
          800,
          600,
          [=](double lat, double lon) {
            const double r = (lat - dR) / kR;
            const double theta = (lon - dA) / kA;
            return TRealPixel{kConicApexX + r * std::sin(theta), kConicApexY + r * std::cos(theta)};
          },
          [=](double x, double y) {
            const double dx = x - kConicApexX;
            const double dy = y - kConicApexY;
            return TCoords{kR * std::hypot(dx, dy) + dR, kA * std::atan(dx / dy) + dA};
          }};
}

// UTM zone 32 north on WGS 84, 50 m per pixel from easting 400 000 m and northing 5 330 000 m
// downwards. The calibration stores northing and easting.
inline constexpr double kUtmEasting0 = 400000.0;
inline constexpr double kUtmNorthing0 = 5330000.0;
inline constexpr double kUtmPixelSize = 50.0;
inline TSyntheticMap UtmMap() {
  return {
      "utm",
      cmUTM,
      900,
      700,
      [](double lat, double lon) {
        int zone = 0;
        double e = 0.0, n = 0.0;
        LatLongToUTM(gelWGS84, lat, lon, zone, e, n);
        return TRealPixel{(e - kUtmEasting0) / kUtmPixelSize, (kUtmNorthing0 - n) / kUtmPixelSize};
      },
      [](double x, double y) {
        TCoords c;
        UTMToLatLong(32, false, gelWGS84, kUtmEasting0 + x * kUtmPixelSize,
                     kUtmNorthing0 - y * kUtmPixelSize, c.Latit, c.Longit);
        return c;
      }};
}

// Calibration pixels spread over the image: a Cols x Rows grid inset by a tenth of the size.
inline std::vector<TPoint> GridPixels(int32_t Width, int32_t Height, int Cols, int Rows) {
  std::vector<TPoint> pixels;
  for (int j = 0; j < Rows; ++j) {
    for (int i = 0; i < Cols; ++i) {
      pixels.push_back(TPoint{Width / 10 + i * (Width * 8 / 10) / (Cols - 1),
                              Height / 10 + j * (Height * 8 / 10) / (Rows - 1)});
    }
  }
  return pixels;
}
