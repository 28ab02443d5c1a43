// Calibration bookkeeping: which forms each model accepts, capacities, removing and restoring,
// the graticule fits and the conic search's degenerate case.
#include <gtest/gtest.h>

#include <functional>

#include "KVL_calibration.h"
#include "KVL_matrix.h"

namespace {

const std::string kAddError =
    "Component \"GeoMap1\": current calibration model does not support this version of "
    "AddCalibPoint";
const std::string kRemoveError =
    "Component \"GeoMap1\": current calibration model does not support this version of "
    "RemoveCalibPoint";

// A calibration named as the map control GeoMap1, counting its repaints.
struct TCountingCalibration : TGeoCalibration {
  int Repaints = 0;
  explicit TCountingCalibration(TCalibModel model = cmUndefined) {
    SetName("GeoMap1");
    SetMapImageSize(1000, 1000);
    SetBitmapSize(1000, 1000);
    OnRepaint = [this] { ++Repaints; };
    StoreCalibModel(model);
  }
};

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EKVLGeoMapError& e) {
    return e.what();
  }
  return "";
}

TEST(Calibration, FormsRefusedByTheModelRaiseAndChangeNothing) {
  using Form = std::function<void(TGeoCalibration&)>;
  const Form lineAdd = [](TGeoCalibration& c) { c.AddCalibPoint(gtlParallel, 45.0, 1, 2); };
  const Form pointAdd = [](TGeoCalibration& c) { c.AddCalibPoint(45.0, 7.0, 1, 2); };
  const Form utmAdd = [](TGeoCalibration& c) { c.AddCalibPoint(5e6, 4e5, 32, hemiNorth, 1, 2); };
  const Form lineRemove = [](TGeoCalibration& c) { c.RemoveCalibPoint(gtlParallel, 45.0, 1, 2); };
  const struct {
    TCalibModel Model;
    Form Action;
    std::string Message;
  } cases[] = {
      {cmEquiRect, lineAdd, kAddError},
      {cmUndefined, lineAdd, kAddError},
      {cmParabolicIp, pointAdd, kAddError},
      {cmUTM, pointAdd, kAddError},
      {cmUndefined, pointAdd, kAddError},
      {cmEquiRect, utmAdd, kAddError},
      {cmBiquadraticPn, lineRemove, kRemoveError},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TCountingCalibration calib(cases[i].Model);
    EXPECT_EQ(ErrorOf([&] { cases[i].Action(calib); }), cases[i].Message) << "case " << i;
    EXPECT_EQ(calib.CalibData(), TCalibData{}) << "case " << i;
    EXPECT_EQ(calib.Repaints, 0) << "case " << i;
  }
}

TEST(Calibration, UtmPointNeedsTheCalibrationsZoneAndHemisphere) {
  TCountingCalibration calib(cmUTM);
  const std::string changed = "Component \"GeoMap1\": UTM zone parameter changed";
  EXPECT_EQ(ErrorOf([&] { calib.AddCalibPoint(5e6, 4e5, 32, hemiNorth, 1, 2); }), changed);
  calib.MutableCalibData().UTMZone = 32;
  EXPECT_EQ(ErrorOf([&] { calib.AddCalibPoint(5e6, 4e5, 32, hemiSouth, 1, 2); }), changed);
  EXPECT_TRUE(calib.AddCalibPoint(5e6, 4e5, 32, hemiNorth, 1, 2));
  EXPECT_EQ(calib.CalibData().CalQuads[1], (TCalQuad{5e6, 4e5, 1, 2}));
  calib.ClearCalibData();
  EXPECT_EQ(calib.CalibData().UTMZone, -1);
  EXPECT_EQ(ErrorOf([&] { calib.AddCalibPoint(5e6, 4e5, 32, hemiNorth, 1, 2); }), changed);
}

TEST(Calibration, CapacitiesRefuseWithoutError) {
  TCountingCalibration points(cmEquiRect);
  for (int i = 0; i < kMaxCalQuads; ++i)
    ASSERT_TRUE(points.AddCalibPoint(i * 0.1, i * 0.2, i, 2 * i));
  EXPECT_FALSE(points.AddCalibPoint(1.0, 1.0, 1, 1));
  EXPECT_EQ(points.CalibData().NumCalQuads, kMaxCalQuads);
  EXPECT_EQ(points.Repaints, kMaxCalQuads + 1);  // the refused point repaints too

  TCountingCalibration lines(cmParabolicIp);
  for (int k = 0; k < kMaxCalLinePoints; ++k)
    ASSERT_TRUE(lines.AddCalibPoint(gtlMeridian, 7.0, k, k));
  EXPECT_FALSE(lines.AddCalibPoint(gtlMeridian, 7.0, 99, 99));
  for (int l = 1; l < kMaxCalLines; ++l) ASSERT_TRUE(lines.AddCalibPoint(gtlParallel, l, 0, l));
  EXPECT_FALSE(lines.AddCalibPoint(gtlParallel, 99.0, 0, 0));
  EXPECT_EQ(lines.CalibData().NumCalLines, kMaxCalLines);
  EXPECT_EQ(lines.CalibData().CalLines[1].NumPoints, kMaxCalLinePoints);
}

// Two parallels and two meridians with three points each.
void AddGraticule(TGeoCalibration& calib) {
  for (const double lat : {45.0, 46.0}) {
    for (const int x : {100, 500, 900})
      calib.AddCalibPoint(gtlParallel, lat, x, int(1000 - 10 * lat));
  }
  for (const double lon : {7.0, 8.0}) {
    for (const int y : {100, 500, 900}) calib.AddCalibPoint(gtlMeridian, lon, int(100 * lon), y);
  }
}

TEST(Calibration, GraticuleFitsNeedTwoFullParallelsAndMeridians) {
  TCountingCalibration calib(cmParabolicIp);
  AddGraticule(calib);
  ASSERT_TRUE(calib.CalcGraticuleFits());
  EXPECT_EQ(calib.GratMat().NrOfRows(), 4);
  EXPECT_DOUBLE_EQ(calib.GratMat().Element(1, 1), 1.0);  // a parallel
  EXPECT_DOUBLE_EQ(calib.GratMat().Element(2, 1), 45.0);
  EXPECT_NEAR(calib.GratMat().Element(3, 1), 550.0, 1e-9);  // y = 550 + 0·x + 0·x²

  EXPECT_TRUE(calib.RemoveCalibPoint(gtlParallel, 45.0, 500, 550));
  EXPECT_FALSE(calib.CalcGraticuleFits());
  EXPECT_EQ(calib.GratMat().NrOfColumns(), 5);
  EXPECT_EQ(calib.GratMat().NrOfRows(), 1);
  for (int c = 1; c <= 5; ++c) EXPECT_EQ(calib.GratMat().Element(c, 1), 0.0);
  bool valid = true;
  calib.CalcLatitude(500, 500, valid);
  EXPECT_FALSE(valid);
}

TEST(Calibration, LineFormRemovalNeedsTheExactPixelOnTheLine) {
  TCountingCalibration calib(cmParabolicIp);
  AddGraticule(calib);
  EXPECT_FALSE(calib.RemoveCalibPoint(gtlParallel, 45.0, 501, 550));
  EXPECT_FALSE(calib.RemoveCalibPoint(gtlMeridian, 45.0, 500, 550));
  EXPECT_EQ(calib.CalibData().CalLines[1].NumPoints, 3);
  // Removing every point of a line puts the last line in its place.
  for (const int x : {100, 500, 900})
    ASSERT_TRUE(calib.RemoveCalibPoint(gtlParallel, 45.0, x, 550));
  EXPECT_EQ(calib.CalibData().NumCalLines, 3);
  EXPECT_EQ(calib.CalibData().CalLines[1].LineValue, 8.0);
}

TEST(Calibration, NearestPointGoesAndComesBackOnce) {
  TCountingCalibration calib(cmEquiRect);
  calib.AddCalibPoint(0.0, 0.0, 0, 0);
  calib.AddCalibPoint(0.0, 10.0, 1000, 0);
  calib.AddCalibPoint(-10.0, 0.0, 0, 1000);
  EXPECT_TRUE(calib.RemoveCalibPoint(5000, -3000));  // far from all: (1000, 0) is nearest
  ASSERT_EQ(calib.CalibData().NumCalQuads, 2);
  EXPECT_EQ(calib.CalibData().CalQuads[2], (TCalQuad{-10.0, 0.0, 0, 1000}));  // last moved in
  calib.RestoreLastDeletedCalPoint();
  ASSERT_EQ(calib.CalibData().NumCalQuads, 3);
  EXPECT_EQ(calib.CalibData().CalQuads[3], (TCalQuad{0.0, 10.0, 1000, 0}));
  calib.RestoreLastDeletedCalPoint();
  EXPECT_EQ(calib.CalibData().NumCalQuads, 3);
}

TEST(Calibration, GraticulePointRestoresToItsLine) {
  TCountingCalibration calib(cmParabolicIp);
  AddGraticule(calib);
  EXPECT_TRUE(calib.RemoveCalibPoint(790, 520));  // nearest: (800, 500) on the meridian 8°
  EXPECT_EQ(calib.CalibData().CalLines[4].NumPoints, 2);
  calib.RestoreLastDeletedCalPoint();
  EXPECT_EQ(calib.CalibData().CalLines[4].NumPoints, 3);
  EXPECT_EQ(calib.CalibData().CalLines[4].CalPoints[3], (TPoint{800, 500}));
  EXPECT_FALSE(TCountingCalibration(cmUndefined).RemoveCalibPoint(0, 0));
}

TEST(Calibration, UtmPointRemovedUnderUtmComesBack) {
  TCountingCalibration calib(cmUTM);
  calib.MutableCalibData().UTMZone = 32;
  calib.AddCalibPoint(5.0e6, 4.0e5, 32, hemiNorth, 10, 20);
  calib.RemoveCalibPoint(10, 20);
  EXPECT_EQ(calib.CalibData().NumCalQuads, 0);
  calib.RestoreLastDeletedCalPoint();
  ASSERT_EQ(calib.CalibData().NumCalQuads, 1);
  EXPECT_EQ(calib.CalibData().CalQuads[1], (TCalQuad{5.0e6, 4.0e5, 10, 20}));
}

TEST(Calibration, ChangingTheModelRefitsFromTheSamePoints) {
  TCountingCalibration calib(cmEquiRect);
  for (int i = 0; i < 8; ++i)
    calib.AddCalibPoint(40.0 + i % 3, 7.0 + i / 3, 100 * (i / 3), 100 * (i % 3));
  EXPECT_DOUBLE_EQ(calib.Params().FCalParsPLSP[1][1], 0.0);
  const int repaints = calib.Repaints;
  calib.SetCalibModel(cmBiquadraticPn);
  EXPECT_EQ(calib.Repaints, repaints + 1);
  EXPECT_EQ(calib.CalibData().NumCalQuads, 8);
  bool valid = false;
  EXPECT_NEAR(calib.CalcLatitude(100, 200, valid), 42.0, 1e-9);
  EXPECT_NEAR(calib.CalcLongitude(100, 200, valid), 8.0, 1e-9);
}

TEST(Calibration, ClearKeepsModelRestoreBuffersAndNonLinearParameters) {
  TCountingCalibration calib(cmMillerCylindrical);
  calib.AddCalibPoint(40.0, 5.0, 0, 500);
  calib.AddCalibPoint(50.0, 5.0, 0, 0);
  calib.AddCalibPoint(45.0, 15.0, 900, 250);
  const auto miller = calib.Params().FMillercylPar;
  calib.RemoveCalibPoint(0, 0);
  calib.ClearCalibData();
  EXPECT_EQ(calib.CalibModel(), cmMillerCylindrical);
  EXPECT_EQ(calib.CalibData().NumCalQuads, 0);
  EXPECT_EQ(calib.Params().FMillercylPar, miller);  // Miller keeps what it had
  calib.RestoreLastDeletedCalPoint();
  EXPECT_EQ(calib.CalibData().NumCalQuads, 1);
}

TEST(Calibration, QualityIsTheSpreadOfRecomputedPixels) {
  TCountingCalibration calib(cmEquiRect);
  double qx = -1.0, qy = -1.0;
  calib.AddCalibPoint(0.0, 0.0, 0, 0);
  calib.AddCalibPoint(0.0, 10.0, 1000, 0);
  calib.CalibQuality(qx, qy);
  EXPECT_EQ(qx, 0.0);  // fewer than 3 points
  calib.AddCalibPoint(-10.0, 0.0, 0, 1000);
  calib.AddCalibPoint(-10.0, 10.0, 1000, 1010);  // 10 px off the plane of the others
  calib.CalibQuality(qx, qy);
  EXPECT_NEAR(qx, 0.0, 1e-12);
  EXPECT_GT(qy, 1.0);
  EXPECT_LT(qy, 10.0);
}

TEST(ConicModel, ThreePointsOnOneRowRaiseTheLineFitError) {
  TCountingCalibration calib(cmConicConformal);
  calib.AddCalibPoint(45.0, 5.0, 100, 300);
  calib.AddCalibPoint(45.0, 6.0, 200, 300);
  const auto before = calib.Params().FConicPars;
  try {
    calib.AddCalibPoint(45.0, 7.0, 300, 300);
    FAIL() << "no error";
  } catch (const EKVLMath2Error& e) {
    EXPECT_STREQ(e.what(), "CalcLinFit: not enough data points");
  }
  EXPECT_EQ(calib.CalibData().NumCalQuads, 3);   // the point stays stored
  EXPECT_EQ(calib.Params().FConicPars, before);  // no half-tried apex is left behind
  EXPECT_EQ(calib.Repaints, 2);
}

}  // namespace
