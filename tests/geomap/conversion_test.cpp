// Conversions: the view transform, the documented examples, extents, the position test, and the
// cases where a conversion has no answer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KVL_calibration.h"
#include "KVL_conversion.h"

namespace {

TEST(ViewTransform, ControlAndImagePixels) {
  const struct {
    TPoint Control;
    TPoint TopLeft;
    double Magnification;
    TPoint Image;
  } cases[] = {
      {{0, 0}, {100, 50}, 1.0, {100, 50}},  {{3, 3}, {0, 0}, 0.5, {6, 6}},
      {{3, 3}, {0, 0}, 2.0, {2, 2}},  // 1.5 rounds to the even 2
      {{5, 5}, {0, 0}, 2.0, {2, 2}},  // 2.5 rounds to the even 2
      {{-7, 9}, {-10, 20}, 1.0, {-17, 29}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    EXPECT_EQ(ControlToMapImage(c.Control, c.TopLeft, c.Magnification), c.Image) << "case " << i;
  }
  EXPECT_EQ(MapImageToControl({100, 50}, {100, 50}, 1.0), (TPoint{0, 0}));
  EXPECT_EQ(MapImageToControl({6, 6}, {0, 0}, 0.5), (TPoint{3, 3}));
  EXPECT_EQ(MapImageToControl({3, 1}, {2, 0}, 2.5), (TPoint{2, 2}));  // 2.5 -> 2
}

TEST(ViewTransform, RealToPixelRejectsNonFiniteAndClampsTheRest) {
  int32_t p = 7;
  EXPECT_FALSE(RealToPixel(std::numeric_limits<double>::quiet_NaN(), p));
  EXPECT_FALSE(RealToPixel(-std::numeric_limits<double>::infinity(), p));
  EXPECT_EQ(p, 7);
  ASSERT_TRUE(RealToPixel(1e300, p));
  EXPECT_EQ(p, int32_t(kMaxPixelCoord));
  ASSERT_TRUE(RealToPixel(-3.5, p));
  EXPECT_EQ(p, -4);
}

// The documented three-point example on a 1000 x 1000 image.
struct EquiRectExample : testing::Test {
  TGeoCalibration calib;
  void SetUp() override {
    calib.SetBitmapSize(1000, 1000);
    calib.SetCalibModel(cmEquiRect);
    calib.AddCalibPoint(0.0, 0.0, 0, 0);
    calib.AddCalibPoint(0.0, 10.0, 1000, 0);
    calib.AddCalibPoint(-10.0, 0.0, 0, 1000);
  }
};

TEST_F(EquiRectExample, ConvertsBothWays) {
  bool valid = false;
  EXPECT_NEAR(calib.CalcLatitude(500, 500, valid), -5.0, 1e-12);
  EXPECT_TRUE(valid);
  EXPECT_NEAR(calib.CalcLongitude(TPoint{500, 500}, valid), 5.0, 1e-12);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(calib.CalcPixelCoords(-5.0, 5.0, x, y));
  EXPECT_EQ(x, 500);
  EXPECT_EQ(y, 500);
  EXPECT_FALSE(calib.CalcPixelCoordsUTM(0.0, 0.0, x, y));
  EXPECT_EQ(x, 0);
}

TEST_F(EquiRectExample, ExtentsAndResolution) {
  const TCalibData& d = calib.CalibData();
  EXPECT_NEAR(d.Corners[gcoTopLeft].Latit, 0.0, 1e-12);
  EXPECT_NEAR(d.Corners[gcoBottomRight].Latit, -10.0, 1e-12);
  EXPECT_NEAR(d.Corners[gcoBottomRight].Longit, 10.0, 1e-12);
  // 10° of longitude at latitude -5° on the 6378 km sphere, over 1000 pixels.
  const double rad = std::numbers::pi / 180.0;
  const double expected = 6378000.0 *
                          std::acos(std::cos(5 * rad) * std::cos(5 * rad) * std::cos(10 * rad) +
                                    std::sin(5 * rad) * std::sin(5 * rad)) /
                          1000.0;
  EXPECT_NEAR(d.Resolution, expected, 1e-6);
  calib.SetBitmapSize(0, 1000);
  calib.CalcExtentsAndResolution();
  EXPECT_EQ(calib.CalibData().Resolution, 0.0);
}

TEST_F(EquiRectExample, PositionWithinMapExcludesTheCorners) {
  const struct {
    double Lat, Long;
    bool Within;
  } cases[] = {{-5.0, 5.0, true}, {-9.99, 0.01, true}, {-5.0, 10.5, false},
               {0.5, 5.0, false}, {-10.5, 5.0, false}, {-5.0, -0.01, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(calib.IsPositionWithinMap(c.Lat, c.Long), c.Within) << c.Lat << "," << c.Long;
  }
  for (const TCoords corner : calib.CalibData().Corners) {
    EXPECT_FALSE(calib.IsPositionWithinMap(corner.Latit, corner.Longit));
  }
}

TEST(Conversion, UndefinedAndUnfittedModelsAreNotValid) {
  TGeoCalibration calib;
  bool valid = true;
  EXPECT_EQ(calib.CalcLatitude(10, 10, valid), 0.0);
  EXPECT_FALSE(valid);
  int32_t x = 123, y = 456;
  EXPECT_FALSE(calib.CalcPixelCoords(45.0, 7.0, x, y));
  EXPECT_EQ(x, 123);  // not written
  EXPECT_EQ(y, 456);

  calib.SetCalibModel(static_cast<TCalibModel>(9));
  EXPECT_EQ(calib.CalibModel(), cmUndefined);

  calib.SetCalibModel(cmMillerCylindrical);
  calib.AddCalibPoint(45.0, 7.0, 10, 10);
  calib.AddCalibPoint(46.0, 8.0, 20, 0);
  valid = true;
  EXPECT_EQ(calib.CalcLatitude(10, 10, valid), 0.0);
  EXPECT_FALSE(valid);
  valid = true;
  EXPECT_EQ(calib.CalcLongitude(10, 10, valid), 0.0);
  EXPECT_FALSE(valid);

  calib.SetCalibModel(cmParabolicIp);
  valid = true;
  calib.CalcLongitude(10, 10, valid);
  EXPECT_FALSE(valid);
  EXPECT_FALSE(calib.CalcPixelCoords(45.0, 7.0, x, y));
}

// A cone whose apex is at pixel (400, 100), fitted exactly: Lat = 80 - 0.01·r, Long = 10 + 40·θ.
TGeoCalibration& ConeWithApexInTheImage(TGeoCalibration& calib) {
  calib.SetMapImageSize(800, 600);
  calib.SetBitmapSize(800, 600);
  calib.SetCalibModel(cmConicConformal);
  for (const TPoint p :
       {TPoint{100, 500}, TPoint{400, 550}, TPoint{700, 450}, TPoint{250, 300}, TPoint{600, 250}}) {
    const double dx = p.X - 400.0, dy = p.Y - 100.0;
    calib.AddCalibPoint(80.0 - 0.01 * std::hypot(dx, dy), 10.0 + 40.0 * std::atan(dx / dy), p.X,
                        p.Y);
  }
  return calib;
}

TEST(Conversion, ConeApexRowAndApexItself) {
  TGeoCalibration calib;
  ConeWithApexInTheImage(calib);
  ASSERT_NEAR(calib.Params().FConicPars[1], 400.0, 1.0);
  ASSERT_NEAR(calib.Params().FConicPars[2], 100.0, 1.0);
  const TPoint apex{int32_t(calib.Params().FConicPars[1]), int32_t(calib.Params().FConicPars[2])};
  bool valid = false;
  // On the apex's row the angle takes its limit, ±π/2.
  const double east = calib.CalcLongitude(apex.X + 50, apex.Y, valid);
  EXPECT_TRUE(valid);
  EXPECT_NEAR(east, 10.0 + 40.0 * std::numbers::pi / 2, 0.5);
  const double west = calib.CalcLongitude(apex.X - 50, apex.Y, valid);
  EXPECT_TRUE(valid);
  EXPECT_NEAR(west, 10.0 - 40.0 * std::numbers::pi / 2, 0.5);
  // The apex itself has no direction.
  calib.CalcLongitude(apex, valid);
  EXPECT_FALSE(valid);
  calib.CalcLatitude(apex, valid);
  EXPECT_TRUE(valid);
}

TEST(Conversion, NonFiniteResultsNeverBecomePixels) {
  TGeoCalibration calib;
  calib.SetCalibModel(cmMillerCylindrical);
  calib.AddCalibPoint(40.0, 5.0, 0, 500);
  calib.AddCalibPoint(50.0, 5.0, 0, 0);
  calib.AddCalibPoint(45.0, 15.0, 900, 250);
  int32_t x = -1, y = -1;
  // 0.4·φ + π/4 beyond π/2: the logarithm of a negative tangent.
  EXPECT_FALSE(calib.CalcPixelCoords(200.0, 5.0, x, y));
  EXPECT_FALSE(calib.CalcPixelCoords(std::nan(""), 5.0, x, y));
  EXPECT_EQ(x, -1);
  ASSERT_TRUE(calib.CalcPixelCoords(45.0, 1e300, x, y));  // finite but far: clamped
  EXPECT_EQ(x, int32_t(kMaxPixelCoord));
}

TEST(Conversion, ParabolicLinesMeetingAtThePixelGiveNoPosition) {
  TGeoCalibration calib;
  calib.SetCalibModel(cmParabolicIp);
  // Two parallels that cross at column 500 (rows 400 and 600 elsewhere), two meridians.
  for (const int x : {0, 500, 1000})
    calib.AddCalibPoint(gtlParallel, 45.0, x, x == 500 ? 500 : 400);
  for (const int x : {0, 500, 1000})
    calib.AddCalibPoint(gtlParallel, 44.0, x, x == 500 ? 500 : 600);
  for (const int y : {0, 500, 1000}) calib.AddCalibPoint(gtlMeridian, 7.0, 200, y);
  for (const int y : {0, 500, 1000}) calib.AddCalibPoint(gtlMeridian, 8.0, 800, y);
  bool valid = false;
  EXPECT_NEAR(calib.CalcLatitude(0, 500, valid), 44.5, 1e-9);
  EXPECT_TRUE(valid);
  calib.CalcLatitude(500, 700, valid);
  EXPECT_FALSE(valid);
  EXPECT_NEAR(calib.CalcLongitude(500, 700, valid), 7.5, 1e-9);
  EXPECT_TRUE(valid);
}

TEST(Conversion, UtmGridCrossings) {
  TGeoCalibration calib;
  calib.SetCalibModel(cmUTM);
  // Without points every coefficient is 0: no grid line crosses anything.
  EXPECT_EQ(calib.RowOnNorthing(300, 5297000.0), std::nullopt);
  EXPECT_EQ(calib.ColumnOnEasting(300, 402500.0), std::nullopt);

  calib.MutableCalibData().UTMZone = 32;
  // 10 m per pixel, north up: x = (E - 400000) / 10, y = (5300000 - N) / 10.
  calib.AddCalibPoint(5300000.0, 400000.0, 32, hemiNorth, 0, 0);
  calib.AddCalibPoint(5300000.0, 410000.0, 32, hemiNorth, 1000, 0);
  calib.AddCalibPoint(5290000.0, 400000.0, 32, hemiNorth, 0, 1000);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(calib.CalcPixelCoordsUTM(5295000.0, 405000.0, x, y));
  EXPECT_EQ((TPoint{x, y}), (TPoint{500, 500}));
  EXPECT_EQ(calib.RowOnNorthing(300, 5297000.0), 300);
  EXPECT_EQ(calib.ColumnOnEasting(300, 402500.0), 250);
  bool valid = false;
  EXPECT_NEAR(calib.CalcLatitude(500, 500, valid), 47.8, 0.1);
  EXPECT_TRUE(valid);
}

}  // namespace
