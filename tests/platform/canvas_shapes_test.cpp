// Rectangles, fills, ellipses and polygons of TQtCanvas.
#include <gtest/gtest.h>

#include "canvas_test_support.h"

namespace {

constexpr TColor kPen = 0x0000FF;    // red
constexpr TColor kBrush = 0xFF0000;  // blue

// 'P' pen, 'B' brush, '.' white.
std::string Shapes(const TBitmap& Bitmap) {
  std::string rows;
  for (int32_t y = 0; y < Bitmap.Height(); ++y) {
    for (int32_t x = 0; x < Bitmap.Width(); ++x) {
      const TColor c = Bitmap.Canvas().Pixel(x, y);
      rows += c == kPen ? 'P' : c == kBrush ? 'B' : c == 0xFFFFFF ? '.' : '?';
    }
    rows += '\n';
  }
  return rows;
}

TEST(CanvasShapes, RectangleExcludesRightAndBottomEdges) {
  struct {
    TPenStyle Pen;
    TBrushStyle Brush;
    int32_t Left, Top, Right, Bottom;
    const char* Expected;  // 7 x 5
  } cases[] = {
      {psSolid, bsSolid, 1, 1, 6, 5, ".......\n.PPPPP.\n.PBBBP.\n.PBBBP.\n.PPPPP.\n"},
      {psSolid, bsClear, 1, 1, 6, 5, ".......\n.PPPPP.\n.P...P.\n.P...P.\n.PPPPP.\n"},
      {psClear, bsSolid, 1, 1, 6, 5,
       ".......\n.BBBB..\n.BBBB..\n.BBBB..\n.......\n"},  // one smaller
      {psSolid, bsSolid, 6, 5, 1, 1,
       ".......\n.PPPPP.\n.PBBBP.\n.PBBBP.\n.PPPPP.\n"},  // corners swapped
      {psSolid, bsSolid, 2, 2, 3, 5,
       ".......\n.......\n..P....\n..P....\n..P....\n"},  // one column
      {psSolid, bsSolid, 2, 2, 2, 5, ".......\n.......\n.......\n.......\n.......\n"},    // empty
      {psSolid, bsSolid, -3, -3, 3, 3, "BBP....\nBBP....\nPPP....\n.......\n.......\n"},  // clipped
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TBitmap bitmap(7, 5);
    TCanvas& canvas = bitmap.Canvas();
    canvas.SetPenColor(kPen);
    canvas.SetPenStyle(cases[i].Pen);
    canvas.SetBrushColor(kBrush);
    canvas.SetBrushStyle(cases[i].Brush);
    canvas.Rectangle(cases[i].Left, cases[i].Top, cases[i].Right, cases[i].Bottom);
    EXPECT_EQ(Shapes(bitmap), cases[i].Expected) << "case " << i;
  }
}

// Rubber bands: an XOR rectangle inverts each outline pixel exactly once, and drawn twice it
// restores the picture, on the 15-bit work bitmaps as on 32-bit ones.
TEST(CanvasShapes, XorRectangleInvertsEachOutlinePixelOnceAndUndoes) {
  for (TPixelFormat format : {pf15bit, pf32bit}) {
    TBitmap bitmap(7, 5, format);
    TCanvas& canvas = bitmap.Canvas();
    canvas.SetPenMode(pmXor);
    canvas.SetPenColor(0xFFFFFF);
    canvas.SetBrushStyle(bsClear);
    canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Picture(bitmap, 0x000000), ".......\n.#####.\n.#...#.\n.#...#.\n.#####.\n")
        << int(format);

    TBitmap patterned(40, 30, format), original(40, 30, format);
    for (int32_t y = 0; y < 30; ++y) {
      for (int32_t x = 0; x < 40; ++x) {
        const TColor c = static_cast<TColor>((x * 6) | (y * 8) << 8 | ((x + y) * 3) << 16);
        patterned.Canvas().SetPixel(x, y, c);
        original.Canvas().SetPixel(x, y, c);
      }
    }
    TCanvas& band = patterned.Canvas();
    band.SetPenMode(pmXor);
    band.SetPenColor(0x00FF00);
    band.SetBrushStyle(bsClear);
    for (TPenStyle style : {psSolid, psDot, psDash}) {
      band.SetPenStyle(style);
      band.Rectangle(3, 4, 35, 27);
      EXPECT_GT(DifferingPixels(patterned, original), 0) << int(format) << " " << int(style);
      band.Rectangle(3, 4, 35, 27);
      EXPECT_EQ(DifferingPixels(patterned, original), 0) << int(format) << " " << int(style);
    }
  }
}

TEST(CanvasShapes, FillRectUsesTheBrushOnlyInCopyMode) {
  TBitmap bitmap(5, 4);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetBrushColor(kBrush);
  canvas.SetPenMode(pmXor);
  canvas.FillRect(1, 1, 4, 3);
  canvas.FillRect(1, 1, 4, 3);  // copy, not XOR: drawing it again changes nothing
  EXPECT_EQ(Shapes(bitmap), ".....\n.BBB.\n.BBB.\n.....\n");
  canvas.SetBrushStyle(bsClear);
  canvas.FillRect(0, 0, 5, 4);
  EXPECT_EQ(Shapes(bitmap), ".....\n.BBB.\n.BBB.\n.....\n");
}

TEST(CanvasShapes, EllipseStaysInsideRightAndBottomEdges) {
  EnsureGuiApplication();
  TBitmap bitmap(12, 10);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetPenColor(kPen);
  canvas.SetBrushColor(kBrush);
  canvas.Ellipse(1, 2, 10, 9);
  int32_t left = 99, right = -1, top = 99, bottom = -1;
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 0; x < 12; ++x) {
      if (canvas.Pixel(x, y) != kPen) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  EXPECT_EQ(left, 1);
  EXPECT_EQ(right, 9);
  EXPECT_EQ(top, 2);
  EXPECT_EQ(bottom, 8);
  EXPECT_EQ(canvas.Pixel(5, 5), kBrush);     // filled inside
  EXPECT_EQ(canvas.Pixel(1, 2), 0xFFFFFFu);  // the corner of the box stays outside

  canvas.SetBrushStyle(bsClear);
  canvas.Ellipse(1, 2, 10, 9);  // a clear brush leaves the inside alone
  EXPECT_EQ(canvas.Pixel(5, 5), kBrush);
}

TEST(CanvasShapes, PolygonOutlinesEveryVertexAndFillsInside) {
  EnsureGuiApplication();
  TBitmap bitmap(12, 12);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetPenColor(kPen);
  canvas.SetBrushColor(kBrush);
  const std::vector<TPoint> diamond{{6, 1}, {10, 5}, {6, 9}, {2, 5}};
  canvas.Polygon(diamond);
  for (const TPoint& p : diamond) EXPECT_EQ(canvas.Pixel(p.X, p.Y), kPen) << p.X << "," << p.Y;
  EXPECT_EQ(canvas.Pixel(6, 5), kBrush);
  EXPECT_EQ(canvas.Pixel(2, 1), 0xFFFFFFu);
  EXPECT_EQ(canvas.Pixel(11, 5), 0xFFFFFFu);
}

// Drawing through the painter and directly into the image interleave in call order.
TEST(CanvasShapes, PainterAndDirectDrawingKeepCallOrder) {
  EnsureGuiApplication();
  TBitmap bitmap(10, 10, pf15bit);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetPenColor(kPen);
  canvas.SetBrushColor(kBrush);
  canvas.Ellipse(0, 0, 10, 10);
  canvas.FillRect(4, 4, 6, 6);  // over the ellipse's inside
  canvas.SetBrushColor(0x00FF00);
  canvas.Polygon({{0, 0}, {9, 0}, {9, 9}, {0, 9}});  // over everything
  EXPECT_EQ(canvas.Pixel(5, 5), 0x00FF00u);
  EXPECT_EQ(canvas.Pixel(0, 0), kPen);
}

}  // namespace
