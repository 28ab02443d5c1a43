#include "JpegCodec.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <vector>

namespace {

constexpr int kDotsPerMetreAt96Dpi = 3780;
// JPEG at quality 90 keeps flat colour areas within a few levels.
constexpr int kColourTolerance = 12;

// Four flat quadrants, so every pixel has a known colour away from the edges.
QImage Quadrants(int Width, int Height) {
  QImage image(Width, Height, QImage::Format_RGB32);
  const QRgb colours[] = {qRgb(200, 30, 30), qRgb(30, 160, 40), qRgb(20, 40, 190), qRgb(240, 240, 240)};
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      image.setPixel(x, y, colours[(y >= Height / 2) * 2 + (x >= Width / 2)]);
  return image;
}

bool HasMarker(const QByteArray& Data, unsigned char Marker) {
  return Data.contains(QByteArray("\xFF", 1) + char(Marker));
}

void ExpectClose(QRgb Actual, QRgb Expected, const char* Where) {
  EXPECT_NEAR(qRed(Actual), qRed(Expected), kColourTolerance) << Where;
  EXPECT_NEAR(qGreen(Actual), qGreen(Expected), kColourTolerance) << Where;
  EXPECT_NEAR(qBlue(Actual), qBlue(Expected), kColourTolerance) << Where;
}

TEST(JpegCodec, RoundTripKeepsSizeColoursAndDensityInBothScanModes) {
  const QImage source = Quadrants(64, 48);
  for (const bool progressive : {false, true}) {
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    const QByteArray data = EncodeJpeg(source, {90, progressive, 96});
    EXPECT_TRUE(data.startsWith("\xFF\xD8\xFF\xE0")) << "starts with a JFIF header";
    EXPECT_EQ(HasMarker(data, 0xC2), progressive);  // SOF2: progressive frame
    EXPECT_EQ(HasMarker(data, 0xC0), !progressive);  // SOF0: baseline frame

    const QImage decoded = DecodeJpeg(data);
    ASSERT_EQ(decoded.size(), source.size());
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_EQ(decoded.dotsPerMeterX(), kDotsPerMetreAt96Dpi);
    EXPECT_EQ(decoded.dotsPerMeterY(), kDotsPerMetreAt96Dpi);
    for (const QPoint p : {QPoint(8, 8), QPoint(56, 8), QPoint(8, 40), QPoint(56, 40)})
      ExpectClose(decoded.pixel(p), source.pixel(p), "quadrant centre");
  }
}

TEST(JpegCodec, FileRoundTripReplacesTheFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("picture.jpg");
  EncodeJpegFile(Quadrants(16, 16), path);
  EncodeJpegFile(Quadrants(32, 8), path);
  EXPECT_EQ(DecodeJpegFile(path).size(), QSize(32, 8));
}

TEST(JpegCodec, ProgressStartsRisesAndEnds) {
  const QByteArray data = EncodeJpeg(Quadrants(256, 256), {75, true, 96});
  std::vector<std::pair<TJpegProgressStage, int>> calls;
  DecodeJpeg(data, [&](TJpegProgressStage Stage, uint8_t Percent) { calls.emplace_back(Stage, Percent); });
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front(), std::make_pair(jpsStarting, 0));
  EXPECT_EQ(calls.back(), std::make_pair(jpsEnding, 100));
  for (size_t i = 1; i + 1 < calls.size(); ++i) {
    EXPECT_EQ(calls[i].first, jpsRunning);
    EXPECT_GT(calls[i].second, calls[i - 1].second);
    EXPECT_LT(calls[i].second, 100);
  }
}

// 16 x 16 flat pictures written by another encoder (ImageMagick): Adobe CMYK of rgb(200, 30, 30)
// and greyscale of rgb(90, 90, 90).
const QByteArray kCmykJpeg(
    "\xFF\xD8\xFF\xEE\x00\x0E\x41\x64\x6F\x62\x65\x00\x64\x00\x00\x00\x00\x02\xFF\xDB\x00\x43\x00\x02"
    "\x01\x01\x01\x01\x01\x02\x01\x01\x01\x02\x02\x02\x02\x02\x04\x03\x02\x02\x02\x02\x05\x04\x04\x03"
    "\x04\x06\x05\x06\x06\x06\x05\x06\x06\x06\x07\x09\x08\x06\x07\x09\x07\x06\x06\x08\x0B\x08\x09\x0A"
    "\x0A\x0A\x0A\x0A\x06\x08\x0B\x0C\x0B\x0A\x0C\x09\x0A\x0A\x0A\xFF\xDB\x00\x43\x01\x02\x02\x02\x02"
    "\x02\x02\x05\x03\x03\x05\x0A\x07\x06\x07\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A"
    "\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A"
    "\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\x0A\xFF\xC0\x00\x14\x08\x00\x10\x00\x10\x04\x01\x11"
    "\x00\x02\x11\x01\x03\x11\x01\x04\x11\x00\xFF\xC4\x00\x16\x00\x01\x01\x01\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x07\x09\xFF\xC4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\xFF\xC4\x00\x16\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x08\x09\xFF\xC4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\xFF\xDA\x00\x0E\x04\x01\x00\x02\x11\x03\x11\x04\x00\x00\x3F\x00\xB0\x29"
    "\x46\x25\xB4\x80\x00\x00\x01\xFF\xD9",
    297);
const QByteArray kGreyJpeg(
    "\xFF\xD8\xFF\xE0\x00\x10\x4A\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xFF\xDB\x00\x43"
    "\x00\x02\x01\x01\x01\x01\x01\x02\x01\x01\x01\x02\x02\x02\x02\x02\x04\x03\x02\x02\x02\x02\x05\x04"
    "\x04\x03\x04\x06\x05\x06\x06\x06\x05\x06\x06\x06\x07\x09\x08\x06\x07\x09\x07\x06\x06\x08\x0B\x08"
    "\x09\x0A\x0A\x0A\x0A\x0A\x06\x08\x0B\x0C\x0B\x0A\x0C\x09\x0A\x0A\x0A\xFF\xC0\x00\x0B\x08\x00\x10"
    "\x00\x10\x01\x01\x11\x00\xFF\xC4\x00\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x08\xFF\xC4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x99\xC0\x7F\xFF\xD9",
    162);

TEST(JpegCodec, CmykAndGreyDecodeToRgb) {
  const struct {
    const char* Name;
    const QByteArray& Data;
    QRgb Colour;
  } cases[] = {{"CMYK", kCmykJpeg, qRgb(200, 30, 30)}, {"grey", kGreyJpeg, qRgb(90, 90, 90)}};
  for (const auto& c : cases) {
    const QImage decoded = DecodeJpeg(c.Data);
    ASSERT_EQ(decoded.size(), QSize(16, 16)) << c.Name;
    ExpectClose(decoded.pixel(8, 8), c.Colour, c.Name);
  }
}

// Sets the frame size in the first start-of-frame marker of a valid file.
QByteArray WithFrameSize(QByteArray Data, int Width, int Height) {
  const qsizetype sof = Data.indexOf(QByteArray("\xFF\xC0", 2));
  Data[sof + 5] = char(Height >> 8);
  Data[sof + 6] = char(Height & 0xFF);
  Data[sof + 7] = char(Width >> 8);
  Data[sof + 8] = char(Width & 0xFF);
  return Data;
}

TEST(JpegCodec, BrokenDataThrowsAClearError) {
  const QByteArray valid = EncodeJpeg(Quadrants(64, 64));
  const struct {
    const char* Name;
    QByteArray Data;
    const char* Reason;
  } cases[] = {
      {"empty", QByteArray(), "JPEG data: "},
      {"not a JPEG", QByteArray("GIF89a, certainly not a JPEG"), "JPEG data: "},
      {"cut in half", valid.left(valid.size() / 2), "Premature end of JPEG file"},
      {"header claims a huge frame", WithFrameSize(valid, 65000, 65000), "too large"},
      {"zero width", WithFrameSize(valid, 0, 64), "JPEG data: "},
  };
  for (const auto& c : cases) {
    try {
      DecodeJpeg(c.Data);
      ADD_FAILURE() << c.Name << ": no error";
    } catch (const EJpegError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Reason), std::string::npos) << c.Name << ": " << e.what();
    }
  }
}

TEST(JpegCodec, MissingFileErrorNamesTheFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("absent.jpg");
  try {
    DecodeJpegFile(path);
    ADD_FAILURE() << "no error";
  } catch (const EJpegError& e) {
    EXPECT_NE(std::string(e.what()).find(path.toStdString()), std::string::npos) << e.what();
  }
}

TEST(JpegCodec, EncodingAnEmptyImageThrows) {
  EXPECT_THROW(EncodeJpeg(QImage()), EJpegError);
}

}  // namespace
