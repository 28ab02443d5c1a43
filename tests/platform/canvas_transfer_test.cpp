// Block copy and scaled transfer of TQtCanvas.
#include <gtest/gtest.h>

#include <vector>

#include "canvas_test_support.h"

namespace {

// A bitmap whose pixel (x, y) has a colour of its own.
void FillNumbered(TBitmap& Bitmap) {
  for (int32_t y = 0; y < Bitmap.Height(); ++y) {
    for (int32_t x = 0; x < Bitmap.Width(); ++x) {
      Bitmap.Canvas().SetPixel(x, y, static_cast<TColor>(0x080000 * (y + 1) + 0x08 * (x + 1)));
    }
  }
}

TColor Numbered(int32_t X, int32_t Y) {
  return static_cast<TColor>(0x080000 * (Y + 1) + 0x08 * (X + 1));
}

std::vector<TColor> Row(const TBitmap& Bitmap, int32_t Y) {
  std::vector<TColor> row;
  for (int32_t x = 0; x < Bitmap.Width(); ++x) row.push_back(Bitmap.Canvas().Pixel(x, Y));
  return row;
}

TColor Grey(uint32_t Level) { return Level << 16 | Level << 8 | Level; }

TEST(CanvasCopy, CopiesClipsAndConverts) {
  struct {
    int32_t DestLeft, DestTop, Width, Height, SrcLeft, SrcTop;
  } cases[] = {{1, 1, 2, 2, 0, 0}, {0, 0, 4, 4, -2, -1}, {3, 3, 10, 10, 1, 1}, {-1, 0, 2, 1, 2, 3}};
  for (TPixelFormat destFormat : {pf32bit, pf15bit}) {
    for (const auto& c : cases) {
      TBitmap source(4, 4, pf32bit), dest(5, 5, destFormat);
      FillNumbered(source);
      dest.Canvas().CopyRect(c.DestLeft, c.DestTop, c.Width, c.Height, source.Canvas(), c.SrcLeft,
                             c.SrcTop);
      for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
          const int32_t sx = x - c.DestLeft + c.SrcLeft, sy = y - c.DestTop + c.SrcTop;
          const bool copied = x >= c.DestLeft && x < c.DestLeft + c.Width && y >= c.DestTop &&
                              y < c.DestTop + c.Height && sx >= 0 && sx < 4 && sy >= 0 && sy < 4;
          // Every numbered colour survives the 5-bit channels: its parts are multiples of 8.
          const TColor expected = copied ? Numbered(sx, sy) : 0xFFFFFF;
          const TColor got = dest.Canvas().Pixel(x, y);
          EXPECT_EQ(got & 0xF8F8F8, expected & 0xF8F8F8)
              << x << "," << y << " from " << c.SrcLeft << "," << c.SrcTop;
        }
      }
    }
  }
}

TEST(CanvasCopy, OverlappingCopyWithinOneBitmap) {
  for (int32_t shift : {1, -1}) {
    TBitmap bitmap(6, 6, pf15bit);
    FillNumbered(bitmap);
    bitmap.Canvas().CopyRect(1 + shift, 1 + shift, 4, 4, bitmap.Canvas(), 1, 1);
    for (int32_t y = 0; y < 4; ++y) {
      for (int32_t x = 0; x < 4; ++x) {
        EXPECT_EQ(bitmap.Canvas().Pixel(1 + shift + x, 1 + shift + y) & 0xF8F8F8,
                  Numbered(1 + x, 1 + y))
            << shift << ": " << x << "," << y;
      }
    }
  }
}

TEST(CanvasStretch, ColorOnColorTakesThePixelUnderEachCentre) {
  TBitmap source(4, 2), enlarged(8, 4, pf15bit), shrunk(2, 1);
  FillNumbered(source);
  enlarged.Canvas().StretchRect(0, 0, 8, 4, source.Canvas(), 0, 0, 4, 2, smColorOnColor);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 8; ++x)
      EXPECT_EQ(enlarged.Canvas().Pixel(x, y) & 0xF8F8F8, Numbered(x / 2, y / 2));
  }
  shrunk.Canvas().StretchRect(0, 0, 2, 1, source.Canvas(), 0, 0, 4, 2, smColorOnColor);
  EXPECT_EQ(Row(shrunk, 0), (std::vector<TColor>{Numbered(1, 1), Numbered(3, 1)}));
}

TEST(CanvasStretch, HalftoneAveragesWhenShrinking) {
  TBitmap source(4, 2), shrunk(2, 1), halfRow(2, 2);
  for (int32_t x = 0; x < 4; ++x) {
    source.Canvas().SetPixel(x, 0, x % 2 ? 0xFFFFFF : 0x000000);
    source.Canvas().SetPixel(x, 1, x % 2 ? 0x0000FF : 0x000000);
  }
  shrunk.Canvas().StretchRect(0, 0, 2, 1, source.Canvas(), 0, 0, 4, 2, smHalftone);
  // (255 + 255 + 255 + 0) / 4 red, (255 + 0) / 4 green and blue, rounded.
  EXPECT_EQ(Row(shrunk, 0), (std::vector<TColor>{0x404080, 0x404080}));
  halfRow.Canvas().StretchRect(0, 0, 2, 2, source.Canvas(), 0, 0, 4, 2, smHalftone);
  EXPECT_EQ(Row(halfRow, 0), (std::vector<TColor>{Grey(128), Grey(128)}));
  EXPECT_EQ(Row(halfRow, 1), (std::vector<TColor>{0x000080, 0x000080}));
}

TEST(CanvasStretch, HalftoneBlendsSmoothlyWhenEnlarging) {
  TBitmap source(2, 1), enlarged(8, 1);
  source.Canvas().SetPixel(0, 0, 0x000000);
  source.Canvas().SetPixel(1, 0, 0xFFFFFF);
  enlarged.Canvas().StretchRect(0, 0, 8, 1, source.Canvas(), 0, 0, 2, 1, smHalftone);
  // Destination centres fall at source positions -0.375, -0.125, 0.125 ... 1.375; the edges hold.
  EXPECT_EQ(Row(enlarged, 0), (std::vector<TColor>{Grey(0), Grey(0), Grey(32), Grey(96), Grey(159),
                                                   Grey(223), Grey(255), Grey(255)}));
}

// The map control stretches windows that may reach past the image: those destination pixels keep
// the background it painted first.
TEST(CanvasStretch, DestinationOutsideTheSourceKeepsItsColour) {
  for (TStretchMode mode : {smColorOnColor, smHalftone}) {
    TBitmap source(4, 4), dest(8, 8, pf15bit);
    source.Canvas().SetBrushColor(0x0000FF);
    source.Canvas().FillRect(0, 0, 4, 4);
    dest.Canvas().SetBrushColor(0xC0C0C0);
    dest.Canvas().FillRect(0, 0, 8, 8);
    dest.Canvas().StretchRect(0, 0, 8, 8, source.Canvas(), -1, 2, 4, 4, mode);
    for (int32_t y = 0; y < 8; ++y) {
      for (int32_t x = 0; x < 8; ++x) {
        const bool inside = x >= 2 && y < 4;  // source columns 0 ... 2, rows 2 ... 3
        EXPECT_EQ(dest.Canvas().Pixel(x, y), inside ? 0x0000FFu : 0xC6C6C6u)
            << int(mode) << ": " << x << "," << y;
      }
    }
  }
}

TEST(CanvasStretch, EqualSizesCopyExactlyInBothModes) {
  for (TStretchMode mode : {smColorOnColor, smHalftone}) {
    TBitmap source(5, 4, pf15bit), stretched(5, 4, pf15bit), copied(5, 4, pf15bit);
    FillNumbered(source);
    stretched.Canvas().StretchRect(1, 0, 3, 4, source.Canvas(), 2, 0, 3, 4, mode);
    copied.Canvas().CopyRect(1, 0, 3, 4, source.Canvas(), 2, 0);
    EXPECT_EQ(DifferingPixels(stretched, copied), 0) << int(mode);
  }
}

TEST(CanvasStretch, OntoItsOwnBitmapReadsTheOriginalPicture) {
  for (TStretchMode mode : {smColorOnColor, smHalftone}) {
    TBitmap bitmap(8, 8), original(8, 8), expected(8, 8);
    FillNumbered(bitmap);
    FillNumbered(original);
    FillNumbered(expected);
    bitmap.Canvas().StretchRect(2, 2, 6, 6, bitmap.Canvas(), 0, 0, 4, 4, mode);
    expected.Canvas().StretchRect(2, 2, 6, 6, original.Canvas(), 0, 0, 4, 4, mode);
    EXPECT_EQ(DifferingPixels(bitmap, expected), 0) << int(mode);
  }
}

TEST(CanvasStretch, EmptyRectanglesTransferNothing) {
  TBitmap source(4, 4), dest(4, 4);
  source.Canvas().SetBrushColor(0);
  source.Canvas().FillRect(0, 0, 4, 4);
  for (auto [dw, dh, sw, sh] :
       {std::tuple{0, 4, 4, 4}, std::tuple{4, -2, 4, 4}, std::tuple{4, 4, 0, 4}}) {
    dest.Canvas().StretchRect(0, 0, dw, dh, source.Canvas(), 0, 0, sw, sh, smHalftone);
    EXPECT_EQ(dest.Canvas().Pixel(1, 1), 0xFFFFFFu);
  }
}

}  // namespace
