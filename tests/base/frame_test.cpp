#include <gtest/gtest.h>

#include "KVL_kvlbase.h"
#include "raster_canvas.h"

namespace {

constexpr TColor kHigh = 0x00FFFFFF;
constexpr TColor kLight = 0x00C0C0C0;
constexpr TColor kShadow = 0x00808080;
constexpr TColor kDark = 0x00000000;
constexpr TColor kLine = 0x000000FF;
constexpr TColor kUntouched = TRasterCanvas::kUntouched;

void Frame(TCanvas& canvas, TFrameStyle style, int32_t l, int32_t t, int32_t r, int32_t b) {
  Draw3DFrame(canvas, style, l, t, r, b, kHigh, kLight, kShadow, kDark, kLine);
}

// The pixels of a two-ring frame as listed for the four colours, later ones overwriting.
TRasterCanvas ExpectedRings(int32_t w, int32_t h, int32_t l, int32_t t, int32_t r, int32_t b,
                            TColor c1, TColor c2, TColor c3, TColor c4) {
  TRasterCanvas expected(w, h);
  const auto column = [&](int32_t x, int32_t y0, int32_t y1, TColor c) {
    for (int32_t y = y0; y <= y1; ++y) expected.SetPixel(x, y, c);
  };
  const auto row = [&](int32_t y, int32_t x0, int32_t x1, TColor c) {
    for (int32_t x = x0; x <= x1; ++x) expected.SetPixel(x, y, c);
  };
  column(l, t, b - 1, c1);
  row(t, l, r, c1);
  column(r, t + 1, b - 1, c2);
  row(b, l, r, c2);
  column(l + 1, t + 1, b - 2, c3);
  row(t + 1, l + 1, r - 1, c3);
  column(r - 1, t + 2, b - 2, c4);
  row(b - 1, l + 1, r - 1, c4);
  return expected;
}

void ExpectSamePixels(const TRasterCanvas& actual, const TRasterCanvas& expected,
                      const char* what) {
  for (int32_t y = 0; y < expected.Height(); ++y) {
    for (int32_t x = 0; x < expected.Width(); ++x) {
      EXPECT_EQ(actual.Pixel(x, y), expected.Pixel(x, y)) << what << " at " << x << "," << y;
    }
  }
}

struct RingCase {
  TFrameStyle style;
  TColor c1, c2, c3, c4;
};

TEST(Draw3DFrame, TwoRingStylesArePixelExact) {
  const RingCase cases[] = {
      {fsLowered, kShadow, kHigh, kDark, kLight},
      {fsRaised, kHigh, kDark, kLight, kShadow},
      {fsEmbossed, kHigh, kShadow, kShadow, kHigh},
      {fsEngraved, kShadow, kHigh, kHigh, kShadow},
  };
  const int32_t w = 16, h = 14, l = 2, t = 3, r = 11, b = 10;
  for (const RingCase& c : cases) {
    TRasterCanvas canvas(w, h);
    canvas.SetPenWidth(1);
    canvas.SetPenMode(pmXor);  // used as set, never changed
    canvas.SetPenStyle(psDot);
    Frame(canvas, c.style, l, t, r, b);
    ExpectSamePixels(canvas, ExpectedRings(w, h, l, t, r, b, c.c1, c.c2, c.c3, c.c4),
                     "style");
    EXPECT_EQ(canvas.PenColor(), c.c4) << int(c.style);
    EXPECT_EQ(canvas.PenMode(), pmXor);
    EXPECT_EQ(canvas.PenStyle(), psDot);
  }
}

TEST(Draw3DFrame, RaisedCornersOfATenByTenFrame) {
  TRasterCanvas canvas(10, 10);
  Frame(canvas, fsRaised, 0, 0, 9, 9);
  EXPECT_EQ(canvas.Pixel(9, 0), kHigh);
  EXPECT_EQ(canvas.Pixel(0, 9), kDark);
  EXPECT_EQ(canvas.Pixel(8, 1), kLight);
  EXPECT_EQ(canvas.Pixel(1, 8), kShadow);
  EXPECT_EQ(canvas.Pixel(5, 5), kUntouched);
}

TEST(Draw3DFrame, SimpleDrawsExactlyTheBorder) {
  TRasterCanvas canvas(10, 10);
  Frame(canvas, fsSimple, 2, 3, 6, 7);
  int32_t border = 0;
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 0; x < 10; ++x) {
      const bool onBorder = (x == 2 || x == 6 || y == 3 || y == 7) && x >= 2 && x <= 6 &&
                            y >= 3 && y <= 7;
      EXPECT_EQ(canvas.Pixel(x, y), onBorder ? kLine : kUntouched) << x << "," << y;
      border += onBorder;
    }
  }
  EXPECT_EQ(border, 16);
  EXPECT_EQ(canvas.PenColor(), kLine);
}

TEST(Draw3DFrame, NoneAndUnknownStylesLeaveTheCanvasAlone) {
  for (const int style : {int{fsNone}, 6, 255}) {
    TRasterCanvas canvas(6, 6);
    canvas.SetPenColor(0x00123456);
    canvas.MoveTo(4, 5);
    Frame(canvas, static_cast<TFrameStyle>(style), 0, 0, 5, 5);
    EXPECT_EQ(canvas.PenColor(), 0x00123456u) << style;
    EXPECT_EQ(canvas.PenPos(), (TPoint{4, 5})) << style;
    ExpectSamePixels(canvas, TRasterCanvas(6, 6), "untouched");
  }
}

TEST(DrawRectOutline, CoversBothEndsInThePenColour) {
  TRasterCanvas canvas(5, 5);
  canvas.SetPenColor(kLine);
  DrawRectOutline(canvas, 1, 1, 3, 3);
  TRasterCanvas expected(5, 5);
  for (int32_t i = 1; i <= 3; ++i) {
    for (const auto& [x, y] : {std::pair{i, 1}, {i, 3}, {1, i}, {3, i}}) {
      expected.SetPixel(x, y, kLine);
    }
  }
  ExpectSamePixels(canvas, expected, "outline");
  EXPECT_EQ(canvas.PenPos(), (TPoint{1, 1}));
}

}  // namespace
