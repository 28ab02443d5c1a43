#include "BmpFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <stdexcept>

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kBitCountOffset = kFileHeaderBytes + 14;  // biBitCount in BITMAPINFOHEADER
constexpr int kPaletteEntries = 16;
constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

void PutU16(QByteArray& Out, uint32_t V) {
  Out.append(static_cast<char>(V & 0xFF));
  Out.append(static_cast<char>((V >> 8) & 0xFF));
}

void PutU32(QByteArray& Out, uint32_t V) {
  PutU16(Out, V & 0xFFFF);
  PutU16(Out, V >> 16);
}

// A 4-bit bottom-up BMP: file header, info header, 16-entry palette, rows padded to 4 bytes.
QByteArray FourBitBmp(const QImage& Indexed) {
  const uint32_t width = static_cast<uint32_t>(Indexed.width());
  const uint32_t height = static_cast<uint32_t>(Indexed.height());
  const uint32_t rowBytes = (width * 4 + 31) / 32 * 4;
  const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + kPaletteEntries * 4;
  QByteArray out;
  out.reserve(static_cast<qsizetype>(offset + rowBytes * height));
  out.append("BM");
  PutU32(out, offset + rowBytes * height);
  PutU32(out, 0);  // reserved
  PutU32(out, offset);
  PutU32(out, kInfoHeaderBytes);
  PutU32(out, width);
  PutU32(out, height);  // positive: rows bottom-up
  PutU16(out, 1);       // planes
  PutU16(out, 4);       // bits per pixel
  PutU32(out, 0);       // BI_RGB
  PutU32(out, rowBytes * height);
  PutU32(out, kPixelsPerMetre);
  PutU32(out, kPixelsPerMetre);
  PutU32(out, kPaletteEntries);
  PutU32(out, 0);  // all colours important
  for (int i = 0; i < kPaletteEntries; ++i) {
    const QRgb c = i < Indexed.colorCount() ? Indexed.color(i) : qRgb(0, 0, 0);
    out.append(static_cast<char>(qBlue(c)));
    out.append(static_cast<char>(qGreen(c)));
    out.append(static_cast<char>(qRed(c)));
    out.append('\0');
  }
  QByteArray row(static_cast<qsizetype>(rowBytes), '\0');
  for (int y = Indexed.height() - 1; y >= 0; --y) {
    row.fill('\0');
    const uchar* in = Indexed.constScanLine(y);
    for (uint32_t x = 0; x < width; ++x) {
      const int index = in[x] & 0x0F;
      row[static_cast<qsizetype>(x / 2)] =
          static_cast<char>(row[static_cast<qsizetype>(x / 2)] | (x % 2 ? index : index << 4));
    }
    out.append(row);
  }
  return out;
}

}  // namespace

QImage ReadBmpFile(const std::string& FileName, int& BitsPerPixel) {
  const QString name = QString::fromStdString(FileName);
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::runtime_error("Cannot open file \"" + FileName + "\"");
  }
  const QByteArray header = file.peek(kBitCountOffset + 2);
  QImageReader reader(&file, "bmp");
  reader.setDecideFormatFromContent(false);
  QImage image = reader.read();
  if (image.isNull() || header.size() < kBitCountOffset + 2) {
    throw std::runtime_error("Bitmap image is not valid");
  }
  BitsPerPixel = static_cast<uchar>(header[kBitCountOffset]) |
                 static_cast<uchar>(header[kBitCountOffset + 1]) << 8;
  return image;
}

void WriteBmpFile(const QImage& Image, const std::string& FileName) {
  QSaveFile file(QString::fromStdString(FileName));
  bool written = file.open(QIODevice::WriteOnly);
  if (written) {
    if (Image.format() == QImage::Format_Indexed8 && Image.colorCount() <= kPaletteEntries) {
      const QByteArray bytes = FourBitBmp(Image);
      written = file.write(bytes) == bytes.size();
    } else {
      QImageWriter writer(&file, "bmp");
      written = writer.write(Image.convertToFormat(QImage::Format_RGB32));
    }
  }
  if (!written || !file.commit()) {
    throw std::runtime_error("Cannot create file \"" + FileName + "\"");
  }
}
