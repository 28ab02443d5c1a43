// Each point model fitted to a synthetic map of a known projection gives positions back within a
// measured bound; the polynomial models agree with GDAL's GCP transformer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>

#include "KVL_calibration.h"
#include "synthetic_maps.h"

namespace {

// Calibration points of a synthetic map: a 5 x 4 grid of positions on round values (0.1° or
// 10 m), stored at their rounded pixels, as a user would read them off a map.
void Calibrate(TGeoCalibration& calib, const TSyntheticMap& map) {
  calib.SetMapImageSize(map.Width, map.Height);
  calib.SetBitmapSize(map.Width, map.Height);
  calib.MutableCalibData().UTMZone = 32;
  calib.SetCalibModel(map.Model);
  for (const TPoint p : GridPixels(map.Width, map.Height, 5, 4)) {
    TCoords c = map.ToCoords(p.X, p.Y);
    c.Latit = std::round(c.Latit * 10.0) / 10.0;
    c.Longit = std::round(c.Longit * 10.0) / 10.0;
    const TRealPixel px = map.ToPixel(c.Latit, c.Longit);
    const auto x = static_cast<int32_t>(std::lround(px.X));
    const auto y = static_cast<int32_t>(std::lround(px.Y));
    if (map.Model == cmUTM) {
      int zone = 0;
      double e = 0.0, n = 0.0;
      LatLongToUTM(gelWGS84, c.Latit, c.Longit, zone, e, n);
      ASSERT_TRUE(calib.AddCalibPoint(n, e, zone, hemiNorth, x, y));
    } else {
      ASSERT_TRUE(calib.AddCalibPoint(c.Latit, c.Longit, x, y));
    }
  }
}

// Test pixels over the whole image, corners included.
std::vector<TPoint> CheckPixels(const TSyntheticMap& map) {
  std::vector<TPoint> pixels;
  for (int j = 0; j <= 6; ++j) {
    for (int i = 0; i <= 8; ++i) pixels.push_back(TPoint{map.Width * i / 8, map.Height * j / 6});
  }
  return pixels;
}

struct TModelCase {
  TSyntheticMap Map;
  double MaxPixelError;  // measured: both directions, over the whole image
};

class PointModelTest : public testing::TestWithParam<int> {};

// Bounds about twice the measured worst cases (pixels): equirectangular 0.40, Miller 0.06,
// conic 0.53, UTM 0.12, and the biquadratic fit of the Miller map 3.0 (a second-order polynomial
// only approximates the projection).
std::vector<TModelCase> ModelCases() {
  TSyntheticMap biquad = MillerMap();
  biquad.Model = cmBiquadraticPn;
  return {{EquirectangularMap(), 0.8},
          {MillerMap(), 0.15},
          {ConicMap(), 1.0},
          {UtmMap(), 0.25},
          {biquad, 4.5}};
}

TEST_P(PointModelTest, FittedToRoundedPixelsGivesPositionsBack) {
  const TModelCase c = ModelCases()[static_cast<std::size_t>(GetParam())];
  TGeoCalibration calib;
  Calibrate(calib, c.Map);
  double worst = 0.0;
  for (const TPoint p : CheckPixels(c.Map)) {
    bool validLat = false, validLong = false;
    const double lat = calib.CalcLatitude(p, validLat);
    const double lon = calib.CalcLongitude(p, validLong);
    ASSERT_TRUE(validLat && validLong) << c.Map.Name << " at " << p.X << "," << p.Y;
    const TRealPixel back = c.Map.ToPixel(lat, lon);
    worst = std::max(worst, std::hypot(back.X - p.X, back.Y - p.Y));

    const TCoords truth = c.Map.ToCoords(p.X, p.Y);
    int32_t x = -1, y = -1;
    ASSERT_TRUE(calib.CalcPixelCoords(truth.Latit, truth.Longit, x, y)) << c.Map.Name;
    worst = std::max(worst, std::hypot(double(x) - p.X, double(y) - p.Y));
  }
  EXPECT_LE(worst, c.MaxPixelError) << c.Map.Name;
}

INSTANTIATE_TEST_SUITE_P(Models, PointModelTest, testing::Range(0, 5));

TEST(ConicModel, SearchFindsTheApex) {
  TGeoCalibration calib;
  Calibrate(calib, ConicMap());
  EXPECT_NEAR(calib.Params().FConicPars[1], kConicApexX, 40.0);
  EXPECT_NEAR(calib.Params().FConicPars[2], kConicApexY, 40.0);
}

// ---- GDAL's polynomial GCP transformer as the oracle of the least-squares fits -----------------

std::string Run(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  if (!pipe) return out;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
  return out;
}

bool HaveGdal() { return !Run("command -v gdaltransform").empty(); }

// Transforms the input lines "a b" with the calibration's points as GCPs (pixel, line -> long,
// lat); Inverse maps long, lat back to pixel, line. Returns one pair per input line.
std::vector<TRealPixel> GdalTransform(const TCalibData& data, int order, bool inverse,
                                      const std::vector<TRealPixel>& input) {
  std::ostringstream cmd;
  cmd.precision(17);
  cmd << "printf -- '";
  for (const TRealPixel& p : input) cmd << p.X << ' ' << p.Y << "\\n";
  cmd << "' | gdaltransform -output_xy -order " << order << (inverse ? " -i" : "");
  for (int i = 1; i <= data.NumCalQuads; ++i) {
    const TCalQuad& q = data.CalQuads[i];
    cmd << " -gcp " << q.MapX << ' ' << q.MapY << ' ' << q.Longitude << ' ' << q.Latitude;
  }
  cmd << " 2>&1";
  std::istringstream out(Run(cmd.str()));
  std::vector<TRealPixel> result;
  TRealPixel p;
  while (out >> p.X >> p.Y) result.push_back(p);
  return result;
}

class GdalOracleTest : public testing::TestWithParam<TCalibModel> {};

TEST_P(GdalOracleTest, FitAgreesWithGdalPolynomial) {
  if (!HaveGdal()) GTEST_SKIP() << "gdaltransform not found (Debian package gdal-bin)";
  const TCalibModel model = GetParam();
  const int order = model == cmBiquadraticPn ? 2 : 1;
  TSyntheticMap map = MillerMap();
  map.Model = model;
  TGeoCalibration calib;
  Calibrate(calib, map);

  std::vector<TRealPixel> pixels;
  for (const TPoint p : CheckPixels(map)) pixels.push_back(TRealPixel{double(p.X), double(p.Y)});
  const std::vector<TRealPixel> coords = GdalTransform(calib.CalibData(), order, false, pixels);
  ASSERT_EQ(coords.size(), pixels.size()) << "gdaltransform output unreadable";
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    bool valid = false;
    const TPoint p{int32_t(pixels[i].X), int32_t(pixels[i].Y)};
    EXPECT_NEAR(calib.CalcLongitude(p, valid), coords[i].X, 1e-7) << "pixel " << i;
    EXPECT_NEAR(calib.CalcLatitude(p, valid), coords[i].Y, 1e-7) << "pixel " << i;
  }

  const std::vector<TRealPixel> back = GdalTransform(calib.CalibData(), order, true, coords);
  ASSERT_EQ(back.size(), coords.size());
  for (std::size_t i = 0; i < coords.size(); ++i) {
    int32_t x = 0, y = 0;
    ASSERT_TRUE(calib.CalcPixelCoords(coords[i].Y, coords[i].X, x, y));
    // Our pixels are rounded; GDAL's are not.
    EXPECT_LE(std::abs(x - back[i].X), 0.5 + 1e-6) << "position " << i;
    EXPECT_LE(std::abs(y - back[i].Y), 0.5 + 1e-6) << "position " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Polynomials, GdalOracleTest, testing::Values(cmBiquadraticPn, cmEquiRect),
                         [](const auto& info) { return std::string(CalibModelName(info.param)); });

// ---- parabolic lines on a synthetic graticule
// ----------------------------------------------------

// Parallels bend as parabolas y = 80 + 60·(50 - lat) + 0.0004·(x - 400)², meridians are straight
// columns x = 40·(lon - 5).
TCoords CurvedTruth(double x, double y) {
  return TCoords{50.0 - (y - 80.0 - 0.0004 * (x - 400.0) * (x - 400.0)) / 60.0, 5.0 + x / 40.0};
}

TEST(ParabolicModel, GraticuleLinesGivePositionsBack) {
  TGeoCalibration calib;
  calib.SetBitmapSize(800, 600);
  calib.SetCalibModel(cmParabolicIp);
  for (const double lat : {49.0, 47.0, 45.0}) {
    for (int x = 50; x <= 750; x += 175) {
      const double y = 80.0 + 60.0 * (50.0 - lat) + 0.0004 * (x - 400.0) * (x - 400.0);
      ASSERT_TRUE(calib.AddCalibPoint(gtlParallel, lat, x, int32_t(std::lround(y))));
    }
  }
  for (const double lon : {7.0, 11.0, 19.0}) {
    for (int y = 30; y <= 570; y += 135) {
      ASSERT_TRUE(
          calib.AddCalibPoint(gtlMeridian, lon, int32_t(std::lround(40.0 * (lon - 5.0))), y));
    }
  }
  ASSERT_TRUE(calib.CalcGraticuleFits());
  for (const TPoint p : {TPoint{100, 200}, TPoint{400, 300}, TPoint{700, 450}, TPoint{250, 500}}) {
    const TCoords truth = CurvedTruth(p.X, p.Y);
    bool valid = false;
    EXPECT_NEAR(calib.CalcLatitude(p, valid), truth.Latit, 0.01) << p.X << "," << p.Y;
    EXPECT_TRUE(valid);
    EXPECT_NEAR(calib.CalcLongitude(p, valid), truth.Longit, 0.01) << p.X << "," << p.Y;
    EXPECT_TRUE(valid);
    int32_t x = 0, y = 0;
    ASSERT_TRUE(calib.CalcPixelCoords(truth.Latit, truth.Longit, x, y));
    EXPECT_LE(std::abs(x - p.X), 1);
    EXPECT_LE(std::abs(y - p.Y), 1);
  }
}

}  // namespace
