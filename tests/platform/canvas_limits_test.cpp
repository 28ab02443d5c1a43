// TQtCanvas at the edges of its input: coordinates far outside the surface, foreign canvases.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "canvas_test_support.h"

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

bool AllPixels(const TBitmap& Bitmap, TColor Colour) {
  for (int32_t y = 0; y < Bitmap.Height(); ++y) {
    for (int32_t x = 0; x < Bitmap.Width(); ++x) {
      if (Bitmap.Canvas().Pixel(x, y) != Colour) return false;
    }
  }
  return true;
}

// Graticule and grid lines converted from far-away coordinates may end anywhere in the 32-bit
// range.
TEST(CanvasLimits, ExtremeCoordinatesClipCleanly) {
  EnsureGuiApplication();
  TBitmap bitmap(10, 10, pf15bit);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetPenColor(0x0000FF);
  canvas.MoveTo(kMin, 5);
  canvas.LineTo(kMax, 5);
  for (int32_t x = 0; x < 10; ++x) EXPECT_EQ(canvas.Pixel(x, 5), 0x0000FFu) << x;
  canvas.MoveTo(kMin, kMin);
  canvas.LineTo(kMax, kMax);  // the diagonal passes the surface near (x, x)
  int diagonal = 0;
  for (int32_t x = 0; x < 10; ++x) diagonal += canvas.Pixel(x, x) == 0x0000FF;
  EXPECT_GE(diagonal, 9);

  canvas.SetBrushColor(0x00FF00);
  canvas.Rectangle(kMin, kMin, kMax, kMax);  // the outline lies far outside
  EXPECT_TRUE(AllPixels(bitmap, 0x00FF00));
  canvas.SetBrushColor(0xFF0000);
  canvas.Ellipse(-1'000'000'000, -1'000'000'000, 1'000'000'000, 1'000'000'000);
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFF0000u);
  canvas.Rectangle(kMax, kMax, kMin, kMin);  // swapped corners normalise to the same rectangle
  canvas.FillRect(kMin, kMin, kMin + 5, kMax);
  EXPECT_EQ(canvas.Pixel(0, 0), 0xFF0000u);

  TBitmap source(2, 1);
  source.Canvas().SetPixel(1, 0, 0x000000);
  canvas.CopyRect(kMin, kMin, kMax, kMax, source.Canvas(), kMax, kMax);  // nothing overlaps
  EXPECT_EQ(canvas.Pixel(0, 0), 0xFF0000u);
  EXPECT_TRUE(AllPixels(bitmap, 0xFF0000));
  for (TStretchMode mode : {smColorOnColor, smHalftone}) {
    canvas.StretchRect(kMin, 0, kMax, 10, source.Canvas(), 0, 0, 2, 1, mode);  // ends left of x = 0
    EXPECT_TRUE(AllPixels(bitmap, 0xFF0000)) << int(mode);
  }
  for (TStretchMode mode : {smColorOnColor, smHalftone}) {
    // The surface lies at the very start of the destination, which maps onto the white pixel.
    canvas.StretchRect(-10, 0, kMax, 10, source.Canvas(), 0, 0, 2, 1, mode);
    EXPECT_TRUE(AllPixels(bitmap, 0xFFFFFF)) << int(mode);
  }
}

// A canvas of another implementation: copies from it are refused.
class ForeignCanvas final : public TCanvas {
 public:
  int32_t Width() const override { return 1; }
  int32_t Height() const override { return 1; }
  TColor PenColor() const override { return 0; }
  void SetPenColor(TColor) override {}
  int32_t PenWidth() const override { return 1; }
  void SetPenWidth(int32_t) override {}
  TPenStyle PenStyle() const override { return psSolid; }
  void SetPenStyle(TPenStyle) override {}
  TPenMode PenMode() const override { return pmCopy; }
  void SetPenMode(TPenMode) override {}
  TColor BrushColor() const override { return 0; }
  void SetBrushColor(TColor) override {}
  TBrushStyle BrushStyle() const override { return bsSolid; }
  void SetBrushStyle(TBrushStyle) override {}
  std::string FontName() const override { return {}; }
  void SetFontName(const std::string&) override {}
  int32_t FontSize() const override { return 8; }
  void SetFontSize(int32_t) override {}
  uint8_t FontStyles() const override { return 0; }
  void SetFontStyles(uint8_t) override {}
  TColor FontColor() const override { return 0; }
  void SetFontColor(TColor) override {}
  double FontAngle() const override { return 0; }
  void SetFontAngle(double) override {}
  TPoint PenPos() const override { return {}; }
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override {}
  void FillRect(int32_t, int32_t, int32_t, int32_t) override {}
  void Ellipse(int32_t, int32_t, int32_t, int32_t) override {}
  void Polygon(const std::vector<TPoint>&) override {}
  TColor Pixel(int32_t, int32_t) const override { return 0; }
  void SetPixel(int32_t, int32_t, TColor) override {}
  void TextOut(int32_t, int32_t, const std::string&) override {}
  int32_t TextWidth(const std::string&) const override { return 0; }
  int32_t TextHeight(const std::string&) const override { return 0; }
  void CopyRect(int32_t, int32_t, int32_t, int32_t, const TCanvas&, int32_t, int32_t) override {}
  void StretchRect(int32_t, int32_t, int32_t, int32_t, const TCanvas&, int32_t, int32_t, int32_t,
                   int32_t, TStretchMode) override {}
};

TEST(CanvasLimits, ForeignSourceCanvasIsRefused) {
  TBitmap bitmap(2, 2);
  const ForeignCanvas foreign;
  EXPECT_THROW(bitmap.Canvas().CopyRect(0, 0, 1, 1, foreign, 0, 0), std::invalid_argument);
  EXPECT_THROW(bitmap.Canvas().StretchRect(0, 0, 2, 2, foreign, 0, 0, 1, 1, smHalftone),
               std::invalid_argument);
}

TEST(CanvasLimits, WidePenOutlinesCentreOnTheBorder) {
  EnsureGuiApplication();
  TBitmap bitmap(20, 20);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetPenColor(0x0000FF);
  canvas.SetPenWidth(3);
  canvas.SetBrushStyle(bsClear);
  canvas.Rectangle(5, 5, 15, 15);
  for (int32_t x : {4, 5, 6}) EXPECT_EQ(canvas.Pixel(x, 10), 0x0000FFu) << x;
  for (int32_t x : {3, 7, 10}) EXPECT_EQ(canvas.Pixel(x, 10), 0xFFFFFFu) << x;
}

}  // namespace
