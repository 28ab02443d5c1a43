// Lines and pixels of TQtCanvas: end point excluded, clipping, dash patterns, XOR.
#include <gtest/gtest.h>

#include <cstdlib>

#include "canvas_test_support.h"

namespace {

constexpr TColor kRed = 0x0000FF;

struct LineCase {
  TPoint From, To;
  const char* Expected;  // 6 x 4 pixels
};

TEST(CanvasLines, LineToExcludesTheEndPoint) {
  const LineCase cases[] = {
      {{0, 1}, {5, 1}, "......\n#####.\n......\n......\n"},
      {{5, 1}, {0, 1}, "......\n.#####\n......\n......\n"},
      {{2, 0}, {2, 3}, "..#...\n..#...\n..#...\n......\n"},
      {{0, 0}, {3, 3}, "#.....\n.#....\n..#...\n......\n"},
      {{0, 3},
       {4, 1},
       "......\n...#..\n.##...\n#.....\n"},  // the half step rounds away from the start
      {{1, 1}, {1, 1}, "......\n......\n......\n......\n"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TBitmap bitmap(6, 4);
    bitmap.Canvas().SetPenColor(kRed);
    bitmap.Canvas().MoveTo(cases[i].From.X, cases[i].From.Y);
    bitmap.Canvas().LineTo(cases[i].To.X, cases[i].To.Y);
    EXPECT_EQ(Picture(bitmap, kRed), cases[i].Expected) << "case " << i;
    EXPECT_EQ(bitmap.Canvas().PenPos(), cases[i].To) << "case " << i;
  }
}

TEST(CanvasLines, ClosedOutlineCoversEveryCornerOnce) {
  TBitmap bitmap(6, 5);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetPenColor(0xFFFFFF);
  canvas.SetPenMode(pmXor);  // a pixel drawn twice would turn back to white
  canvas.MoveTo(1, 1);
  canvas.LineTo(4, 1);
  canvas.LineTo(4, 3);
  canvas.LineTo(1, 3);
  canvas.LineTo(1, 1);
  EXPECT_EQ(Picture(bitmap, 0x000000), "......\n.####.\n.#..#.\n.####.\n......\n");
}

// A line far longer than the bitmap, clipped, must light exactly the pixels that the same line
// lights inside a larger bitmap: clipping may not move the line.
TEST(CanvasLines, ClippingKeepsThePixelsOfTheWholeLine) {
  const TPoint ends[][2] = {{{-90, -37}, {500, 213}},
                            {{420, 7}, {-300, 133}},
                            {{55, -400}, {61, 600}},
                            {{-1000000, 1}, {1000000, 98}},
                            {{30, 30}, {30, -5}}};
  constexpr int32_t kOffset = 150;
  for (size_t i = 0; i < std::size(ends); ++i) {
    TBitmap small(100, 100), large(400, 400);
    for (auto [bitmap, shift] : {std::pair{&small, 0}, std::pair{&large, kOffset}}) {
      bitmap->Canvas().SetPenColor(kRed);
      bitmap->Canvas().MoveTo(ends[i][0].X + shift, ends[i][0].Y + shift);
      bitmap->Canvas().LineTo(ends[i][1].X + shift, ends[i][1].Y + shift);
    }
    int lit = 0;
    for (int32_t y = 0; y < 100; ++y) {
      for (int32_t x = 0; x < 100; ++x) {
        const TColor c = small.Canvas().Pixel(x, y);
        ASSERT_EQ(c, large.Canvas().Pixel(x + kOffset, y + kOffset))
            << "case " << i << " at " << x << "," << y;
        lit += c == kRed;
      }
    }
    EXPECT_GT(lit, 0) << "case " << i;
  }
}

// One pixel per step along the longer axis, each step moving at most one pixel sideways.
TEST(CanvasLines, LongLinesAreConnectedWithOnePixelPerStep) {
  srand(7);
  for (int i = 0; i < 50; ++i) {
    const TPoint a{rand() % 300, rand() % 200}, b{rand() % 300, rand() % 200};
    TBitmap bitmap(300, 200);
    bitmap.Canvas().SetPenColor(kRed);
    bitmap.Canvas().MoveTo(a.X, a.Y);
    bitmap.Canvas().LineTo(b.X, b.Y);
    const bool xMajor = std::abs(b.X - a.X) >= std::abs(b.Y - a.Y);
    const int32_t steps = std::max(std::abs(b.X - a.X), std::abs(b.Y - a.Y));
    int32_t count = 0, previous = 0;
    for (int32_t k = 0; k < (xMajor ? 300 : 200); ++k) {
      int32_t found = 0, at = 0;
      for (int32_t m = 0; m < (xMajor ? 200 : 300); ++m) {
        if (bitmap.Canvas().Pixel(xMajor ? k : m, xMajor ? m : k) == kRed) {
          ++found;
          at = m;
        }
      }
      ASSERT_LE(found, 1) << "line " << i;
      if (found == 1) {
        if (count > 0) {
          EXPECT_LE(std::abs(at - previous), 1) << "line " << i;
        }
        previous = at;
      }
      count += found;
    }
    EXPECT_EQ(count, steps) << "line " << i;
    if (steps > 0) {
      EXPECT_EQ(bitmap.Canvas().Pixel(a.X, a.Y), kRed) << "line " << i;
      EXPECT_EQ(bitmap.Canvas().Pixel(b.X, b.Y), 0xFFFFFFu) << "line " << i;
    }
  }
}

// A line continued through pixels that lie exactly on it (as LineTo chains of a cut-up line do)
// lights the same pixels as the line drawn in one piece, including ties at half steps.
TEST(CanvasLines, LineCutAtPointsOnItEqualsTheWholeLine) {
  const struct {
    TPoint From, To;
    int Pieces;  // divides both extents, so every cut point is a pixel on the line
  } cases[] = {{{0, 0}, {300, 100}, 4},  {{0, 0}, {200, 100}, 5},  {{290, 10}, {10, 150}, 4},
               {{5, 195}, {285, 55}, 7}, {{20, 190}, {60, 10}, 5}, {{-200, -100}, {400, 200}, 6}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const TPoint a = cases[i].From, b = cases[i].To;
    TBitmap whole(300, 200), cut(300, 200);
    whole.Canvas().SetPenColor(kRed);
    whole.Canvas().MoveTo(a.X, a.Y);
    whole.Canvas().LineTo(b.X, b.Y);
    cut.Canvas().SetPenColor(kRed);
    cut.Canvas().MoveTo(a.X, a.Y);
    for (int k = 1; k <= cases[i].Pieces; ++k) {
      cut.Canvas().LineTo(a.X + (b.X - a.X) * k / cases[i].Pieces,
                          a.Y + (b.Y - a.Y) * k / cases[i].Pieces);
    }
    EXPECT_EQ(DifferingPixels(whole, cut), 0) << "case " << i;
  }
}

TEST(CanvasLines, PenStylesGiveTheirPatterns) {
  struct {
    TPenStyle Style;
    const char* Expected;
  } cases[] = {
      {psSolid, "##############################\n"},
      {psDot, "###...###...###...###...###...\n"},
      {psDash, "##################......######\n"},
      {psClear, "..............................\n"},
  };
  for (const auto& c : cases) {
    TBitmap bitmap(30, 1);
    bitmap.Canvas().SetPenColor(kRed);
    bitmap.Canvas().SetPenStyle(c.Style);
    bitmap.Canvas().MoveTo(0, 0);
    bitmap.Canvas().LineTo(30, 0);
    EXPECT_EQ(Picture(bitmap, kRed), c.Expected) << int(c.Style);
  }
}

// The map control's work bitmaps are RGB555: lines must light the same pixels there, in both modes,
// and an XOR line drawn twice must restore the picture exactly.
TEST(CanvasLines, SamePixelsOnEveryFormatAndXorUndoes) {
  TBitmap reference(120, 90, pf32bit);
  TBitmap xored(120, 90, pf15bit);
  for (int32_t y = 0; y < 90; ++y) {
    for (int32_t x = 0; x < 120; ++x)
      xored.Canvas().SetPixel(x, y, static_cast<TColor>(x * 2 | y << 9 | (x ^ y) << 18));
  }
  TBitmap before(120, 90, pf15bit);
  before.Canvas().CopyRect(0, 0, 120, 90, xored.Canvas(), 0, 0);
  // Lines that do not cross, so that no pixel is inverted twice in one pass.
  const TPoint lines[][2] = {{{-20, 5}, {130, 25}},
                             {{130, 40}, {-10, 35}},
                             {{60, 50}, {61, 100}},
                             {{3, 45}, {40, 89}},
                             {{119, 89}, {70, 60}}};
  for (int pass = 0; pass < 2; ++pass) {
    xored.Canvas().SetPenMode(pmXor);
    xored.Canvas().SetPenColor(0xFFFFFF);
    for (const auto& line : lines) {
      for (TCanvas* canvas :
           {static_cast<TCanvas*>(&reference.Canvas()), static_cast<TCanvas*>(&xored.Canvas())}) {
        canvas->MoveTo(line[0].X, line[0].Y);
        canvas->LineTo(line[1].X, line[1].Y);
      }
    }
    if (pass == 0) {  // after one pass the XOR bitmap differs exactly where the reference has ink
      for (int32_t y = 0; y < 90; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
          const bool inked = reference.Canvas().Pixel(x, y) == 0x000000;
          ASSERT_EQ(inked, xored.Canvas().Pixel(x, y) != before.Canvas().Pixel(x, y))
              << x << "," << y;
        }
      }
    }
  }
  EXPECT_EQ(DifferingPixels(xored, before), 0);
}

TEST(CanvasLines, WidePenDrawsAThickLine) {
  EnsureGuiApplication();
  TBitmap bitmap(20, 20);
  bitmap.Canvas().SetPenColor(kRed);
  bitmap.Canvas().SetPenWidth(3);
  bitmap.Canvas().MoveTo(5, 10);
  bitmap.Canvas().LineTo(15, 10);
  for (int32_t y : {9, 10, 11}) EXPECT_EQ(bitmap.Canvas().Pixel(10, y), kRed) << y;
  EXPECT_EQ(bitmap.Canvas().Pixel(10, 7), 0xFFFFFFu);
}

TEST(CanvasPixels, ReadBackAndOutside) {
  TBitmap wide(3, 2, pf32bit), narrow(3, 2, pf15bit);
  wide.Canvas().SetPixel(1, 1, 0x123456);
  narrow.Canvas().SetPixel(1, 1, 0x123456);
  narrow.Canvas().SetPixel(5, 5, 0);  // outside: ignored
  EXPECT_EQ(wide.Canvas().Pixel(1, 1), 0x123456u);
  EXPECT_EQ(narrow.Canvas().Pixel(1, 1), 0x103152u);  // 5 bits per channel, widened
  EXPECT_EQ(narrow.Canvas().Pixel(0, 0), 0xFFFFFFu);
  for (TPoint outside : {TPoint{-1, 0}, TPoint{3, 0}, TPoint{0, 2}, TPoint{0, -1}}) {
    EXPECT_EQ(wide.Canvas().Pixel(outside.X, outside.Y), 0xFFFFFFFFu);
  }
}

}  // namespace
