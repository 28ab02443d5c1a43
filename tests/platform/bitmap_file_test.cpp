// TBitmap's BMP files: 4-bit output, round trips, unreadable and unwritable files.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "canvas_test_support.h"

namespace {

class BitmapFile : public testing::Test {
 protected:
  std::string Path(const char* Name) const { return (Dir.path() + "/" + Name).toStdString(); }
  static QByteArray Bytes(const std::string& File) {
    QFile file(QString::fromStdString(File));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  static void Write(const std::string& File, const QByteArray& Content) {
    QFile file(QString::fromStdString(File));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Content);
  }
  QTemporaryDir Dir;
};

uint32_t U32At(const QByteArray& B, int Offset) {
  return static_cast<uchar>(B[Offset]) | static_cast<uchar>(B[Offset + 1]) << 8 |
         static_cast<uchar>(B[Offset + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uchar>(B[Offset + 3])) << 24;
}

TEST_F(BitmapFile, SixteenColourBitmapsAreWrittenWithFourBitsPerPixel) {
  TBitmap bitmap(5, 3, pf4bit);
  bitmap.Canvas().SetPixel(0, 0, 0x0000F0);  // nearest: red (index 9)
  bitmap.Canvas().SetPixel(4, 2, 0x000000);  // black (index 0)
  const std::string file = Path("map.bmp");
  bitmap.SaveToFile(file);
  const QByteArray bytes = Bytes(file);
  constexpr int kPixelsAt = 14 + 40 + 16 * 4;
  constexpr int kRowBytes = 4;  // 5 pixels of 4 bits, padded to 4 bytes
  ASSERT_EQ(bytes.size(), kPixelsAt + 3 * kRowBytes);
  EXPECT_EQ(bytes.left(2), QByteArray("BM"));
  EXPECT_EQ(U32At(bytes, 2), static_cast<uint32_t>(bytes.size()));
  EXPECT_EQ(U32At(bytes, 10), static_cast<uint32_t>(kPixelsAt));
  EXPECT_EQ(static_cast<uchar>(bytes[28]), 4);                // bits per pixel
  EXPECT_EQ(static_cast<uchar>(bytes[kPixelsAt + 1]), 0xFF);  // bottom row first: white, white
  EXPECT_EQ(static_cast<uchar>(bytes[kPixelsAt + 2]), 0x00);  // (4, 2) black, then padding
  EXPECT_EQ(static_cast<uchar>(bytes[kPixelsAt + 2 * kRowBytes]), 0x9F);  // top row: red, white

  TBitmap loaded;
  loaded.LoadFromFile(file);
  EXPECT_EQ(loaded.PixelFormat(), pf4bit);
  EXPECT_EQ(loaded.Width(), 5);
  EXPECT_EQ(loaded.Height(), 3);
  EXPECT_EQ(loaded.Canvas().Pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(loaded.Canvas().Pixel(4, 2), 0x000000u);
  EXPECT_EQ(loaded.Canvas().Pixel(2, 1), 0xFFFFFFu);
}

TEST_F(BitmapFile, DeepBitmapsRoundTripTheirColours) {
  for (TPixelFormat format : {pf15bit, pf32bit}) {
    TBitmap bitmap(3, 2, format);
    bitmap.Canvas().SetPixel(1, 0, 0x123456);
    bitmap.Canvas().SetPixel(2, 1, 0xC0C0C0);
    const std::string file = Path("deep.bmp");
    bitmap.SaveToFile(file);
    TBitmap loaded(1, 1, pf4bit);
    loaded.LoadFromFile(file);
    EXPECT_EQ(loaded.PixelFormat(), pfDevice) << int(format);  // written with 24 bits
    EXPECT_EQ(loaded.Width(), 3);
    for (TPoint p : {TPoint{1, 0}, TPoint{2, 1}, TPoint{0, 0}}) {
      EXPECT_EQ(loaded.Canvas().Pixel(p.X, p.Y), bitmap.Canvas().Pixel(p.X, p.Y)) << int(format);
    }
  }
}

TEST_F(BitmapFile, UnreadableFilesThrowAndLeaveTheBitmap) {
  const std::string garbage = Path("garbage.bmp");
  Write(garbage, QByteArray("BM this is no bitmap at all"));
  TBitmap good(2, 2, pf4bit);
  good.SaveToFile(Path("good.bmp"));
  const std::string truncated = Path("truncated.bmp");
  Write(truncated, Bytes(Path("good.bmp")).left(60));
  struct {
    std::string File, Message;
  } cases[] = {{Path("missing.bmp"), "Cannot open file \"" + Path("missing.bmp") + "\""},
               {garbage, "Bitmap image is not valid"},
               {truncated, "Bitmap image is not valid"}};
  for (const auto& c : cases) {
    TBitmap bitmap(4, 1, pf15bit);
    bitmap.Canvas().SetPixel(0, 0, 0);
    try {
      bitmap.LoadFromFile(c.File);
      ADD_FAILURE() << "no error for " << c.File;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.PixelFormat(), pf15bit);
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), 0u);
  }
}

TEST_F(BitmapFile, UnwritableFileThrowsAndReplacingWorks) {
  TBitmap bitmap(2, 2);
  const std::string nowhere = Path("no/such/dir/map.bmp");
  try {
    bitmap.SaveToFile(nowhere);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + nowhere + "\"");
  }
  const std::string file = Path("again.bmp");
  Write(file, QByteArray("old content"));
  bitmap.SaveToFile(file);
  EXPECT_EQ(Bytes(file).left(2), QByteArray("BM"));
}

}  // namespace
