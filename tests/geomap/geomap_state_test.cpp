// The map control's state: construction defaults, property setters (clamping, ignoring, which
// repaint), the zoom history, confining and fitting the view, Clear and the first picture.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <limits>

#include "KVL_geomap.h"
#include "KVL_geomap_memory.h"
#include "TBitmap.h"

namespace {

// A map control that counts the pictures it draws and opens its state to the tests.
class TCountingMap : public TGeoMap {
 public:
  int Draws = 0;
  void Paint() override {
    if (!SuppressPaint()) ++Draws;
    TGeoMap::Paint();
  }
  using TGeoMap::FLandMarks;
  using TGeoMap::FLMClassVisible;
  using TGeoMap::FZStackPoi;
  using TGeoMap::PushZoomHistory;
  void SetImageSize(int32_t w, int32_t h) {
    FMapImgName = w > 0 ? "map.jpg" : "";
    FMapImgWidth = w;
    FMapImgHeight = h;
    SyncImageSizes();
  }
  void SetLastClick(int32_t x, int32_t y) {
    FLastMClickPosX = x;
    FLastMClickPosY = y;
  }
  TColor ScreenPixel(int32_t x, int32_t y) const { return FFrontBmp->Canvas().Pixel(x, y); }
};

TEST(GeoMapState, ConstructionDefaults) {
  TCountingMap map;
  EXPECT_EQ(map.width(), 500);
  EXPECT_EQ(map.height(), 400);
  EXPECT_EQ(map.Magnification(), 1.0);
  EXPECT_EQ(map.TopLeft(), (TPoint{0, 0}));
  EXPECT_EQ(map.CalibModel(), cmUndefined);
  EXPECT_EQ(map.NumLandMarks(), 0);
  EXPECT_EQ(map.FLandMarks.size(), 1000u);
  EXPECT_EQ(std::bit_cast<uint64_t>(map.CacheMagLimit()), 0x3FE5555555555555u);
  EXPECT_TRUE(map.ConfinePanToMapImage());
  EXPECT_TRUE(map.AntiAlias());
  EXPECT_TRUE(map.AllowPan());
  EXPECT_EQ(map.MouseAction(), maPan);
  EXPECT_EQ(map.EmptyMsg(), "GeoMap: empty");
  EXPECT_EQ(map.ColorBackGnd(), 0x00C0C0C0u);
  EXPECT_EQ(map.ColorGraticule(), 0x00FF0000u);
  EXPECT_EQ(map.ColorCalibPoints(), 0x000000FFu);
  EXPECT_EQ(map.ColorFrame(), 0x00000000u);
  EXPECT_EQ(map.FrameStyle(), fsSimple);
  EXPECT_EQ(map.ShowGraticule(), sgNone);
  EXPECT_EQ(map.LMRandomDisplayThreshold(), 20000);
  EXPECT_EQ(map.UTMZone(), 0);
  EXPECT_EQ(map.UTMHemisphere(), hemiNorth);
  EXPECT_EQ(map.CalibData().Ellipsoid, gelWGS84);
  EXPECT_EQ(map.MapImgWidth(), 0);
  EXPECT_EQ(map.MapBitmap().PixelFormat(), pfDevice);
  EXPECT_EQ(map.FZStackPoi, 2);
  for (const bool visible : map.FLMClassVisible) EXPECT_TRUE(visible);
  const TLandMark& lm = map.LandMarkDefault();
  EXPECT_EQ(lm.SymbolProps, (TSymbolProperties{lmCross, 7, 0x00FF0000, 0x00FFFFFF, false, 0, 10}));
  EXPECT_EQ(lm.Caption.FontName, "MS Sans Serif");
  EXPECT_EQ(lm.Caption.dy, 8);
  EXPECT_EQ(lm.Caption.HAlignment, taCenter);
  EXPECT_TRUE(lm.Caption.Transparent);
  EXPECT_EQ(map.Draws, 0);
}

TEST(GeoMapState, OutOfRangeValuesAreClampedOrIgnored) {
  TCountingMap map;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    std::function<void()> Set;
    std::function<double()> Get;
    double Expected;
  } cases[] = {
      {[&] { map.SetGratLineDist(-5); }, [&] { return map.GratLineDist(); }, 0.0},
      {[&] { map.SetGratLineDist(75); }, [&] { return map.GratLineDist(); }, 60.0},
      {[&] { map.SetGratLineDist(nan); }, [&] { return map.GratLineDist(); }, 0.0},
      {[&] { map.SetUTMGridDist(-1); }, [&] { return map.UTMGridDist(); }, 0.0},
      {[&] { map.SetUTMGridDist(20000000); }, [&] { return map.UTMGridDist(); }, 1e7},
      {[&] { map.SetCacheMagLimit(0.9); }, [&] { return map.CacheMagLimit(); }, 2.0 / 3.0},
      {[&] { map.SetCacheMagLimit(-1); }, [&] { return map.CacheMagLimit(); }, 0.0},
      {[&] { map.SetCacheMagLimit(nan); }, [&] { return map.CacheMagLimit(); }, 0.0},
      {[&] { map.SetUTMZone(60); }, [&] { return map.UTMZone(); }, 60.0},
      {[&] { map.SetUTMZone(0); }, [&] { return map.UTMZone(); }, 60.0},
      {[&] { map.SetUTMZone(61); }, [&] { return map.UTMZone(); }, 60.0},
      {[&] { map.SetLMRandomDisplayThreshold(1000); },
       [&] { return map.LMRandomDisplayThreshold(); }, 20000.0},
      {[&] { map.SetLMRandomDisplayThreshold(1001); },
       [&] { return map.LMRandomDisplayThreshold(); }, 1001.0},
      {[&] { map.SetMagnification(0.0); }, [&] { return map.Magnification(); }, 1.0},
      {[&] { map.SetMagnification(nan); }, [&] { return map.Magnification(); }, 1.0},
      {[&] { map.SetMagnification(1e9); }, [&] { return map.Magnification(); },
       TGeoMap::kMaxMagnification},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    cases[i].Set();
    EXPECT_EQ(cases[i].Get(), cases[i].Expected) << "case " << i;
  }
}

TEST(GeoMapState, AllowPanFollowsMouseAction) {
  TCountingMap map;
  map.SetAllowPan(false);
  EXPECT_EQ(map.MouseAction(), maNone);
  map.SetMouseAction(maZoom);
  EXPECT_FALSE(map.AllowPan());
  map.SetAllowPan(true);
  EXPECT_EQ(map.MouseAction(), maPan);
  map.SetUTMHemisphere(hemiSouth);
  EXPECT_TRUE(map.CalibData().UTMSouth);
  EXPECT_EQ(map.Draws, 0);
}

TEST(GeoMapState, WhichSettersRepaint) {
  // Each setter is called twice with the same value; the draws of each call.
  TCountingMap map;
  map.resize(50, 40);
  const struct {
    const char* Name;
    std::function<void()> Set;
    int FirstDraws, SecondDraws;
  } cases[] = {
      {"FrameStyle", [&] { map.SetFrameStyle(fsRaised); }, 1, 0},
      {"ShowGraticule", [&] { map.SetShowGraticule(sgLines); }, 1, 0},
      {"ColorBackGnd", [&] { map.SetColorBackGnd(0x123456); }, 1, 1},
      {"ColorGraticule", [&] { map.SetColorGraticule(0x123456); }, 1, 1},
      {"ColorCalibPoints", [&] { map.SetColorCalibPoints(0x123456); }, 1, 1},
      {"ColorFrame", [&] { map.SetColorFrame(0x123456); }, 1, 1},
      {"AntiAlias", [&] { map.SetAntiAlias(false); }, 1, 1},
      {"EmptyMsg", [&] { map.SetEmptyMsg("none"); }, 1, 1},
      {"GratLineDist", [&] { map.SetGratLineDist(2); }, 1, 1},
      {"UTMGridDist", [&] { map.SetUTMGridDist(500); }, 1, 1},
      {"LMRandomDisplayThreshold", [&] { map.SetLMRandomDisplayThreshold(5000); }, 1, 0},
      {"TopLeft",
       [&] {
         map.SetTopLeft({3, 4});
       },
       1, 1},
      {"Magnification", [&] { map.SetMagnification(2); }, 1, 1},
      {"CacheMagLimit at magnification 2", [&] { map.SetCacheMagLimit(0.5); }, 0, 0},
      {"CalibModel", [&] { map.SetCalibModel(cmEquiRect); }, 1, 1},
      {"ConfinePanToMapImage", [&] { map.SetConfinePanToMapImage(true); }, 0, 0},
      {"UTMZone", [&] { map.SetUTMZone(33); }, 0, 0},
      {"Caption", [&] { map.SetCaption("x"); }, 0, 0},
      {"CalibData", [&] { map.SetCalibData(TCalibData{}); }, 0, 0},
  };
  for (const auto& c : cases) {
    map.Draws = 0;
    c.Set();
    EXPECT_EQ(map.Draws, c.FirstDraws) << c.Name;
    map.Draws = 0;
    c.Set();
    EXPECT_EQ(map.Draws, c.SecondDraws) << c.Name;
  }
  map.SetMagnification(0.5);
  map.Draws = 0;
  map.SetCacheMagLimit(0.25);
  EXPECT_EQ(map.Draws, 1) << "CacheMagLimit below 2/3";
}

TEST(GeoMapState, SuppressPaintDefersToOneDraw) {
  TCountingMap map;
  map.resize(50, 40);
  map.SetSuppressPaint(true);
  map.SetColorBackGnd(0x00FF00);
  map.SetTopLeft({1, 1});
  map.SetSuppressPaint(true);
  EXPECT_EQ(map.Draws, 0);
  EXPECT_EQ(map.ColorBackGnd(), 0x00FF00u);
  map.SetSuppressPaint(false);
  EXPECT_EQ(map.Draws, 1);
  map.SetSuppressPaint(false);
  EXPECT_EQ(map.Draws, 1);
}

TEST(GeoMapState, ZoomHistoryRing) {
  TCountingMap map;
  map.SetTopLeft({5, 6});
  map.SetMagnification(2);
  map.ClearZoomHistory();  // holds (5, 6) x 2 only
  map.SetTopLeft({0, 0});
  map.SetMagnification(1);
  map.Draws = 0;
  for (const int32_t index : {1, -16, -1}) map.ZoomHistory(index);
  EXPECT_EQ(map.TopLeft(), (TPoint{0, 0}));
  EXPECT_EQ(map.Draws, 0);
  map.ZoomHistory(0);
  EXPECT_EQ(map.TopLeft(), (TPoint{5, 6}));
  EXPECT_EQ(map.Magnification(), 2.0);
  EXPECT_EQ(map.Draws, 1);

  // 17 views (the cleared history's own and 16 more): the first is overwritten.
  map.ClearZoomHistory();
  for (int32_t v = 1; v <= 16; ++v) {
    map.SetTopLeft({v, v});
    map.PushZoomHistory();
  }
  map.ZoomHistory(-15);
  EXPECT_EQ(map.TopLeft(), (TPoint{1, 1}));
  map.ZoomHistory(-14);
  EXPECT_EQ(map.TopLeft(), (TPoint{2, 2}));
  map.ZoomHistory(0);
  EXPECT_EQ(map.TopLeft(), (TPoint{16, 16}));

  map.BeginLayoutLoad();
  map.PushZoomHistory();
  map.EndLayoutLoad();
  EXPECT_EQ(map.FZStackPoi, 2);
}

TEST(GeoMapState, PanConfinesTheViewAndZoomFitPageFitsTheImage) {
  TCountingMap map;
  map.SetImageSize(1000, 800);
  map.SetTopLeft({900, -5});
  map.PanMapToFillWindow();
  EXPECT_EQ(map.TopLeft(), (TPoint{500, 0}));
  map.SetTopLeft({-40, 900});
  map.SetMagnification(0.25);  // the view (2000 x 1600) is larger than the image
  map.PanMapToFillWindow();
  EXPECT_EQ(map.TopLeft(), (TPoint{0, 0}));

  map.SetTopLeft({7, 7});
  map.Draws = 0;
  map.ZoomFitPage();
  EXPECT_EQ(map.Magnification(), 0.5);
  EXPECT_EQ(map.TopLeft(), (TPoint{0, 0}));
  EXPECT_EQ(map.Draws, 1);

  map.SetImageSize(1000, 200);  // the width ratio is the smaller one
  map.ZoomFitPage();
  EXPECT_EQ(map.Magnification(), 0.5);
  map.SetImageSize(100, 200);
  map.ZoomFitPage();
  EXPECT_EQ(map.Magnification(), 2.0);

  map.SetImageSize(0, 0);
  map.SetTopLeft({7, 7});
  map.Draws = 0;
  map.ZoomFitPage();
  EXPECT_EQ(map.Magnification(), 2.0);
  EXPECT_EQ(map.TopLeft(), (TPoint{7, 7}));
  EXPECT_EQ(map.Draws, 0);
}

TEST(GeoMapState, ClearEmptiesCalibrationAndImageButKeepsTheBitmap) {
  TCountingMap map;
  map.setObjectName("GeoMap1");
  map.SetImageSize(1000, 1000);
  map.MapBitmap().SetSize(30, 20);
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(1.0, 2.0, 3, 4);
  map.SetCaption("Alps");
  map.Draws = 0;
  map.Clear();
  EXPECT_EQ(map.Draws, 2);
  EXPECT_EQ(map.CalibModel(), cmUndefined);
  EXPECT_EQ(map.CalibData().NumCalQuads, 0);
  EXPECT_EQ(map.Caption(), "");
  EXPECT_EQ(map.MapImgFile(), "");
  EXPECT_EQ(map.MapImgWidth(), 0);
  EXPECT_EQ(map.MapBitmap().Width(), 30);
  try {
    map.AddCalibPoint(gtlParallel, 1.0, 2, 3);
    FAIL() << "no error";
  } catch (const EKVLGeoMapError& e) {
    EXPECT_STREQ(e.what(),
                 "Component \"GeoMap1\": current calibration model does not support this "
                 "version of AddCalibPoint");
  }
}

TEST(GeoMapState, LastClickPosition) {
  TCountingMap map;
  map.SetLastClick(500, 500);
  EXPECT_EQ(map.LastClickLatitude(), 0.0);  // not calibrated
  map.MapBitmap().SetSize(1000, 1000);
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(0.0, 0.0, 0, 0);
  map.AddCalibPoint(0.0, 10.0, 1000, 0);
  map.AddCalibPoint(-10.0, 0.0, 0, 1000);
  EXPECT_NEAR(map.LastClickLatitude(), -5.0, 1e-12);
  EXPECT_NEAR(map.LastClickLongitude(), 5.0, 1e-12);
  EXPECT_EQ(map.LastClickPosX(), 500);
}

TEST(GeoMapState, InsufficientMemoryNamesTheControl) {
  try {
    AllocateOrFail("GeoMap1", [] { throw std::bad_alloc(); });
    FAIL() << "no error";
  } catch (const EKVLGeoMapError& e) {
    EXPECT_STREQ(e.what(), "Component \"GeoMap1\": insufficient memory");
  }
}

// Channels of two colours differ by less than the 15-bit quantisation step.
bool Near(TColor a, TColor b) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 8) return false;
  }
  return true;
}

TEST(GeoMapPaint, EmptyMapShowsBackgroundMessageAndBlackFrame) {
  TCountingMap map;
  map.resize(50, 40);
  map.SetColorFrame(0x0000FF);  // the message colour; the plain frame stays black
  EXPECT_EQ(map.ScreenPixel(0, 0), 0x000000u);
  EXPECT_EQ(map.ScreenPixel(49, 39), 0x000000u);
  EXPECT_TRUE(Near(map.ScreenPixel(45, 35), 0xC0C0C0));
  int messagePixels = 0;
  for (int y = 10; y < 30; ++y) {
    for (int x = 10; x < 49; ++x) messagePixels += Near(map.ScreenPixel(x, y), 0x0000FF);
  }
  EXPECT_GT(messagePixels, 5);
  for (int y = 1; y < 10; ++y) EXPECT_TRUE(Near(map.ScreenPixel(5, y), 0xC0C0C0));
}

TEST(GeoMapTypes, ShortTextsKeepTheirCapacityInWindows1252) {
  const TLMIdentifier id(std::string("Forêt Noire de la Bavière"));
  EXPECT_EQ(id.Length, 15);
  EXPECT_EQ(id.ToString(), "Forêt Noire de ");
  EXPECT_EQ(id.Bytes()[3], '\xEA');
  const TLMText text(std::string("€ 日本"));
  EXPECT_EQ(text.Bytes(), "\x80 ??");
  EXPECT_EQ(text.ToString(), "€ ??");
  EXPECT_EQ(CalibModelFromName("Equirect"), cmEquiRect);
  EXPECT_EQ(CalibModelFromName("parabolicip"), cmParabolicIp);
  EXPECT_EQ(CalibModelFromName("bogus"), cmUndefined);
  EXPECT_STREQ(CalibModelName(cmUTM), "utm");
}

}  // namespace
