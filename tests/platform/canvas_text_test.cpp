// Text output and measurement of TQtCanvas.
#include <gtest/gtest.h>

#include <set>

#include "canvas_test_support.h"

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBackground = 0x00FF00;

struct Box {
  int32_t Left = 1 << 30, Top = 1 << 30, Right = -1,
          Bottom = -1;  // inclusive; empty if Right < Left
};

// Bounding box of the pixels that are neither white nor Ignored.
Box InkBox(const TBitmap& Bitmap, TColor Ignored = kWhite) {
  Box box;
  for (int32_t y = 0; y < Bitmap.Height(); ++y) {
    for (int32_t x = 0; x < Bitmap.Width(); ++x) {
      const TColor c = Bitmap.Canvas().Pixel(x, y);
      if (c == kWhite || c == Ignored) continue;
      box.Left = std::min(box.Left, x), box.Right = std::max(box.Right, x);
      box.Top = std::min(box.Top, y), box.Bottom = std::max(box.Bottom, y);
    }
  }
  return box;
}

class CanvasText : public testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }
};

TEST_F(CanvasText, TopLeftCornerAtThePointInTheFontColour) {
  TBitmap bitmap(120, 50);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetFontSize(12);
  canvas.SetFontColor(0x0000FF);
  canvas.SetPenColor(0xFF0000);  // the pen plays no part
  canvas.SetBrushStyle(bsClear);
  canvas.TextOut(10, 8, "Hg");
  const int32_t w = canvas.TextWidth("Hg"), h = canvas.TextHeight("Hg");
  ASSERT_GT(w, 5);
  ASSERT_GT(h, 10);
  const Box ink = InkBox(bitmap);
  EXPECT_GE(ink.Left, 10);
  EXPECT_LT(ink.Right, 10 + w);
  EXPECT_GE(ink.Top, 8);
  EXPECT_LT(ink.Top, 8 + h / 2);  // the capital starts near the top of the cell
  EXPECT_LT(ink.Bottom, 8 + h);
  EXPECT_GT(ink.Bottom, 8 + h / 2);  // the descender reaches the lower half
  std::set<TColor> colours;
  for (int32_t y = 0; y < 50; ++y) {
    for (int32_t x = 0; x < 120; ++x) colours.insert(canvas.Pixel(x, y));
  }
  EXPECT_TRUE(colours.count(0x0000FF));
  EXPECT_FALSE(colours.count(0xFF0000));
}

TEST_F(CanvasText, SolidBrushFillsTheTextCell) {
  TBitmap bitmap(80, 40);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetBrushColor(kBackground);
  canvas.TextOut(5, 6, "ab");
  const int32_t w = canvas.TextWidth("ab"), h = canvas.TextHeight("ab");
  for (TPoint inside :
       {TPoint{5, 6}, TPoint{5 + w - 1, 6}, TPoint{5, 6 + h - 1}, TPoint{5 + w - 1, 6 + h - 1}}) {
    EXPECT_EQ(canvas.Pixel(inside.X, inside.Y), kBackground) << inside.X << "," << inside.Y;
  }
  for (TPoint outside : {TPoint{4, 6}, TPoint{5 + w, 6}, TPoint{5, 5}, TPoint{5, 6 + h}}) {
    EXPECT_EQ(canvas.Pixel(outside.X, outside.Y), kWhite) << outside.X << "," << outside.Y;
  }
}

// Rotated text turns about its top-left corner: at 90 degrees it reads upwards from the point.
TEST_F(CanvasText, RotatedTextTurnsAboutItsTopLeftCorner) {
  TBitmap bitmap(60, 120);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetFontSize(12);
  canvas.SetBrushColor(kBackground);
  canvas.SetFontAngle(90);
  canvas.TextOut(20, 100, "Hello");
  const int32_t w = canvas.TextWidth("Hello"), h = canvas.TextHeight("Hello");
  const Box cell = InkBox(bitmap, 0xFFFFFFFF);  // everything drawn, background included
  EXPECT_NEAR(cell.Left, 20, 1);
  EXPECT_NEAR(cell.Right, 20 + h - 1, 1);
  EXPECT_NEAR(cell.Top, 100 - w, 1);
  EXPECT_NEAR(cell.Bottom, 99, 1);
  EXPECT_EQ(canvas.Pixel(19, 90), kWhite);
}

TEST_F(CanvasText, MeasuresFollowTheFont) {
  TBitmap bitmap(1, 1);
  TCanvas& canvas = bitmap.Canvas();
  EXPECT_EQ(canvas.TextWidth(""), 0);
  canvas.SetFontSize(8);
  const int32_t small = canvas.TextWidth("Landmark"), smallHeight = canvas.TextHeight("x");
  canvas.SetFontSize(16);
  EXPECT_GT(canvas.TextWidth("Landmark"), small * 3 / 2);
  EXPECT_GT(canvas.TextHeight("x"), smallHeight * 3 / 2);
  EXPECT_GT(canvas.TextWidth("Landmark Landmark"), canvas.TextWidth("Landmark"));
}

// Texts drawn again come from the layout cache: the pixels must not depend on it, also when the
// font changes between the drawings.
TEST_F(CanvasText, RepeatedTextDrawsTheSamePixels) {
  TBitmap first(100, 30, pf15bit), again(100, 30, pf15bit);
  for (TBitmap* bitmap : {&first, &again}) {
    for (uint8_t styles : {uint8_t{0}, uint8_t{fstBold | fstUnderline}, uint8_t{0}}) {
      bitmap->Canvas().SetFontStyles(styles);
      bitmap->Canvas().SetBrushStyle(bsClear);
      bitmap->Canvas().TextOut(2, 2, "Caption");
    }
    bitmap->Canvas().SetFontStyles(0);
    bitmap->Canvas().TextOut(2, 16, "Caption");
  }
  EXPECT_EQ(DifferingPixels(first, again), 0);
  TBitmap boldOnly(100, 30, pf15bit);
  boldOnly.Canvas().SetBrushStyle(bsClear);
  boldOnly.Canvas().SetFontStyles(fstBold | fstUnderline);
  boldOnly.Canvas().TextOut(2, 16, "Caption");
  EXPECT_GT(DifferingPixels(first, boldOnly), 0);  // the style reached the second line's layout
}

TEST_F(CanvasText, SixteenColourBitmapsDrawPlainPixelText) {
  TBitmap bitmap(80, 30, pf4bit);
  bitmap.Canvas().SetFontSize(14);
  bitmap.Canvas().SetFontColor(0x000080);
  bitmap.Canvas().SetBrushStyle(bsClear);
  bitmap.Canvas().TextOut(3, 3, "Map 47");
  std::set<TColor> colours;
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 80; ++x) colours.insert(bitmap.Canvas().Pixel(x, y));
  }
  EXPECT_EQ(colours, (std::set<TColor>{0x000080, kWhite}));
}

}  // namespace
