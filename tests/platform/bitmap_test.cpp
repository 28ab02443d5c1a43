// TBitmap: sizes, formats, the picture as a QImage and the 16-colour export.
#include <gtest/gtest.h>

#include <new>

#include "canvas_test_support.h"

namespace {

TEST(Bitmap, NewBitmapIsWhiteInItsStorageFormat) {
  const struct {
    TPixelFormat Format;
    QImage::Format Storage;
  } cases[] = {{pf4bit, QImage::Format_RGB32},
               {pf15bit, QImage::Format_RGB555},
               {pf32bit, QImage::Format_RGB32}};
  for (const auto& c : cases) {
    TBitmap bitmap(3, 2, c.Format);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.PixelFormat(), c.Format);
    EXPECT_EQ(bitmap.Image().format(), c.Storage);
    EXPECT_EQ(bitmap.Image().size(), QSize(3, 2));
    EXPECT_EQ(Picture(bitmap, 0), "...\n...\n");
  }
  EXPECT_EQ(TBitmap().PixelFormat(), pfDevice);
}

TEST(Bitmap, ResizingKeepsTheOverlapAndAddsWhite) {
  TBitmap bitmap(3, 3, pf15bit);
  bitmap.Canvas().SetBrushColor(0);
  bitmap.Canvas().FillRect(0, 0, 3, 3);
  bitmap.SetSize(5, 2);
  EXPECT_EQ(Picture(bitmap, 0), "###..\n###..\n");
  bitmap.SetHeight(3);
  EXPECT_EQ(Picture(bitmap, 0), "###..\n###..\n.....\n");
}

TEST(Bitmap, EmptyBitmapTakesWidthThenHeight) {
  TBitmap bitmap;
  bitmap.SetWidth(4);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.Height(), 0);
  bitmap.Canvas().Rectangle(0, 0, 4, 4);  // nothing to draw on: ignored
  bitmap.SetHeight(2);
  EXPECT_EQ(Picture(bitmap, 0), "....\n....\n");
  bitmap.SetSize(-5, 3);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 3);
}

TEST(Bitmap, SizeBeyondMemoryThrowsAndKeepsThePicture) {
  TBitmap bitmap(2, 2);
  bitmap.Canvas().SetPixel(1, 1, 0x123456);
  EXPECT_THROW(bitmap.SetSize(1 << 30, 1 << 30), std::bad_alloc);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), 0x123456u);
}

// A copy of the picture taken while painting is in progress must not change with later drawing.
TEST(Bitmap, CopyOfTheImageStaysAsItWas) {
  EnsureGuiApplication();
  TBitmap bitmap(10, 10, pf15bit);
  bitmap.Canvas().SetBrushColor(0x0000FF);
  bitmap.Canvas().Ellipse(0, 0, 10, 10);  // opens the painter
  const QImage snapshot = bitmap.Image();
  bitmap.Canvas().SetBrushColor(0x00FF00);
  bitmap.Canvas().Ellipse(0, 0, 10, 10);  // through the painter
  bitmap.Canvas().FillRect(0, 0, 2, 2);   // straight into the memory
  EXPECT_EQ(snapshot.pixelColor(5, 5), QColor(255, 0, 0));
  EXPECT_EQ(snapshot.pixelColor(0, 0), QColor(255, 255, 255));
  EXPECT_EQ(bitmap.Image().pixelColor(5, 5), QColor(0, 255, 0));
  EXPECT_EQ(bitmap.Image().pixelColor(0, 0), QColor(0, 255, 0));
}

TEST(Bitmap, AssignedImagesTakeTheBitmapsFormat) {
  QImage picture(3, 1, QImage::Format_ARGB32);
  picture.setPixel(0, 0, qRgb(255, 0, 0));
  picture.setPixel(1, 0, qRgb(0, 100, 0));
  picture.setPixel(2, 0, qRgb(250, 250, 250));
  const struct {
    TPixelFormat Format;
    QImage::Format Storage;
    TColor Pixels[3];
  } cases[] = {
      {pf32bit, QImage::Format_RGB32, {0x0000FF, 0x006400, 0xFAFAFA}},
      {pf15bit, QImage::Format_RGB555, {0x0000FF, 0x006300, 0xFFFFFF}},
      {pf4bit, QImage::Format_RGB32, {0x0000FF, 0x008000, 0xFFFFFF}},  // nearest palette colours
  };
  for (const auto& c : cases) {
    TBitmap bitmap(7, 7, c.Format);
    bitmap.Assign(picture);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 1);
    EXPECT_EQ(bitmap.Image().format(), c.Storage);
    for (int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(bitmap.Canvas().Pixel(x, 0), c.Pixels[x]) << int(c.Format) << " " << x;
  }
  TBitmap bitmap(2, 2);
  bitmap.Assign(QImage());
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
}

TEST(Bitmap, AssignedBitmapsAreIndependentCopies) {
  TBitmap source(2, 1, pf15bit), target(5, 5);
  source.Canvas().SetPixel(0, 0, 0x0000FF);
  target.Assign(source);
  source.Canvas().SetPixel(0, 0, 0x00FF00);
  EXPECT_EQ(target.PixelFormat(), pf15bit);
  EXPECT_EQ(target.Width(), 2);
  EXPECT_EQ(target.Canvas().Pixel(0, 0), 0x0000FFu);
}

TEST(Bitmap, ChangingTheFormatConvertsThePicture) {
  TBitmap bitmap(1, 1, pf32bit);
  bitmap.Canvas().SetPixel(0, 0, 0x2060A0);
  bitmap.SetPixelFormat(pf15bit);
  EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB555);
  EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), 0x2163A5u);
  bitmap.SetPixelFormat(pf4bit);
  EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), 0x008080u);  // olive is the nearest of the 16
}

TEST(Bitmap, SixteenColourExportUsesTheStandardPalette) {
  TBitmap bitmap(4, 1, pf4bit);
  // Drawn after the format was set, so still in full colour until exported.
  const TColor drawn[] = {0x0000F0, 0xB0B0B0, 0x000000, 0x7F0000};
  const int expectedIndex[] = {9, 7, 0, 4};  // red, silver, black, navy
  for (int32_t x = 0; x < 4; ++x) bitmap.Canvas().SetPixel(x, 0, drawn[x]);
  const QImage exported = bitmap.ExportImage();
  ASSERT_EQ(exported.format(), QImage::Format_Indexed8);
  ASSERT_EQ(exported.colorCount(), 16);
  EXPECT_EQ(exported.color(15), qRgb(255, 255, 255));
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(exported.pixelIndex(x, 0), expectedIndex[x]) << x;
  TBitmap wide(1, 1, pf15bit);
  EXPECT_EQ(wide.ExportImage().format(), QImage::Format_RGB555);
}

}  // namespace
