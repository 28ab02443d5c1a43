#include "calib_report.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "text_fields.h"

namespace geomap {

namespace {

constexpr int kParameterDigits = 10;  // significant digits of a fitted parameter
constexpr int kPixelDecimals = 3;     // quality and root mean square, pixels

// Column widths of the residual table.
constexpr int kLineWidth = 5;
constexpr int kCoordWidth = 16;
constexpr int kPixelWidth = 9;

// A parameter in kParameterDigits significant digits; a negative zero is written as 0.
std::string Significant(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*g", kParameterDigits, value == 0.0 ? 0.0 : value);
  return buffer;
}

// "name = formula:  c1  c2 ..." with every parameter of C.
template <typename Params>
void PrintRow(std::ostream& out, const char* name, const char* formula, const Params& c) {
  out << name << " = " << formula << ':';
  for (int i = 1; i <= Params::Count(); ++i) out << "  " << Significant(c[i]);
  out << '\n';
}

void PrintParameters(const TGeoCalibration& calib, std::ostream& out) {
  const TCalibParams& p = calib.Params();
  const bool utm = calib.CalibModel() == cmUTM;
  const char* first = utm ? "northing" : "latitude";
  const char* second = utm ? "easting" : "longitude";
  switch (calib.CalibModel()) {
    case cmEquiRect:
    case cmUTM: {
      const std::string inverse = std::string("c1 + c2*") + first + " + c3*" + second;
      PrintRow(out, first, "c1 + c2*x + c3*y", p.FEquRectPLSP[1]);
      PrintRow(out, second, "c1 + c2*x + c3*y", p.FEquRectPLSP[2]);
      PrintRow(out, "x", inverse.c_str(), p.FEquRectSPPL[1]);
      PrintRow(out, "y", inverse.c_str(), p.FEquRectSPPL[2]);
      break;
    }
    case cmBiquadraticPn: {
      const char* forward = "c1 + c2*x + c3*y + c4*x^2 + c5*x*y + c6*y^2";
      const char* inverse =
          "c1 + c2*lat + c3*long + c4*lat^2 + c5*lat*long + c6*long^2";
      PrintRow(out, first, forward, p.FCalParsPLSP[1]);
      PrintRow(out, second, forward, p.FCalParsPLSP[2]);
      PrintRow(out, "x", inverse, p.FCalParsSPPL[1]);
      PrintRow(out, "y", inverse, p.FCalParsSPPL[2]);
      break;
    }
    case cmMillerCylindrical:
      PrintRow(out, "y", "kB*ln(tan(pi/4 + 0.4*lat)) + dB, lat in radians; kB dB",
               p.FMillercylPar[1]);
      PrintRow(out, "x", "kA*long + dA, long in radians; kA dA", p.FMillercylPar[2]);
      break;
    case cmConicConformal: {
      const TArray1<double, 6>& c = p.FConicPars;
      out << "apex (pole) pixel x0 y0:  " << Significant(c[1]) << "  " << Significant(c[2])
          << '\n';
      out << "latitude = kR*r + dR, r the pixel distance from the apex; kR dR:  "
          << Significant(c[3]) << "  " << Significant(c[4]) << '\n';
      out << "longitude = kA*theta + dA, theta = atan((x - x0)/(y - y0)) in radians; kA dA:  "
          << Significant(c[5]) << "  " << Significant(c[6]) << '\n';
      break;
    }
    case cmParabolicIp:
    case cmUndefined:
      break;
  }
}

// Text right-aligned in Width columns, with at least one blank before it.
std::string Padded(const std::string& text, int width) {
  const std::size_t columns = static_cast<std::size_t>(width);
  return std::string(text.size() < columns ? columns - text.size() : 1, ' ') + text;
}

// The fitted pixel of a stored point, as CalibQuality computes it.
bool FittedPixel(const TGeoCalibration& calib, const CalibPoint& point, int32_t& x, int32_t& y) {
  return calib.CalibModel() == cmUTM ? calib.CalcPixelCoordsUTM(point.first, point.second, x, y)
                                     : calib.CalcPixelCoords(point.first, point.second, x, y);
}

void PrintResiduals(const TGeoCalibration& calib, const std::vector<CalibPoint>& points,
                    int decimals, std::ostream& out) {
  const bool utm = calib.CalibModel() == cmUTM;
  out << Padded("line", kLineWidth) << Padded(utm ? "northing" : "latitude", kCoordWidth)
      << Padded(utm ? "easting" : "longitude", kCoordWidth) << Padded("x", kPixelWidth)
      << Padded("y", kPixelWidth) << Padded("fitted x", kPixelWidth)
      << Padded("fitted y", kPixelWidth) << Padded("dx", kPixelWidth) << Padded("dy", kPixelWidth)
      << '\n';
  double sumOfSquares = 0.0;
  int fitted = 0;
  for (const CalibPoint& point : points) {
    out << Padded(std::to_string(point.line), kLineWidth)
        << Padded(FormatFixed(point.first, decimals), kCoordWidth)
        << Padded(FormatFixed(point.second, decimals), kCoordWidth)
        << Padded(std::to_string(point.x), kPixelWidth)
        << Padded(std::to_string(point.y), kPixelWidth);
    int32_t x = 0;
    int32_t y = 0;
    if (FittedPixel(calib, point, x, y)) {
      // 64-bit: a fitted pixel may lie a billion pixels away (where conversions clamp), and the
      // difference from a stored pixel then overflows 32 bits.
      const int64_t dx = int64_t{point.x} - x;
      const int64_t dy = int64_t{point.y} - y;
      out << Padded(std::to_string(x), kPixelWidth) << Padded(std::to_string(y), kPixelWidth)
          << Padded(std::to_string(dx), kPixelWidth) << Padded(std::to_string(dy), kPixelWidth);
      sumOfSquares += std::pow(static_cast<double>(dx), 2) + std::pow(static_cast<double>(dy), 2);
      ++fitted;
    } else {
      for (int column = 0; column < 4; ++column) out << Padded("-", kPixelWidth);
    }
    out << '\n';
  }
  out << "rms residual ";
  if (fitted > 0) {
    out << FormatFixed(std::sqrt(sumOfSquares / fitted), kPixelDecimals) << " pixels";
  } else {
    out << '-';
  }
  out << " over " << fitted << " of " << points.size() << " points\n";
}

}  // namespace

void PrintCalibReport(const TGeoCalibration& calib, const std::vector<CalibPoint>& points,
                      int decimals, std::ostream& out) {
  PrintParameters(calib, out);
  double qualX = 0.0;
  double qualY = 0.0;
  calib.CalibQuality(qualX, qualY);
  out << "CalibQuality x " << FormatFixed(qualX, kPixelDecimals) << " y "
      << FormatFixed(qualY, kPixelDecimals)
      << " pixels (standard deviations of stored minus fitted pixel)\n";
  PrintResiduals(calib, points, decimals, out);
}

}  // namespace geomap
