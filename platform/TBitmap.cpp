#include "TBitmap.h"

#include <algorithm>
#include <new>

#include "BmpFile.h"
#include "PixelRaster.h"
#include "StandardPalette.h"

namespace {

QImage::Format StorageOf(TPixelFormat Format) {
  return Format == pf15bit ? QImage::Format_RGB555 : QImage::Format_RGB32;
}

QImage WhiteImage(int32_t Width, int32_t Height, TPixelFormat Format) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == 0 || Height == 0) return QImage();
  QImage image(Width, Height, StorageOf(Format));
  if (image.isNull()) throw std::bad_alloc();
  image.fill(Qt::white);
  return image;
}

// The picture in the storage of Format; 16-colour pictures keep only palette colours.
QImage Converted(const QImage& Picture, TPixelFormat Format) {
  if (Picture.isNull()) return QImage();
  QImage converted = Format == pf4bit
                         ? ReduceToStandardPalette(Picture).convertToFormat(QImage::Format_RGB32)
                         : Picture.convertToFormat(StorageOf(Format));
  if (converted.isNull()) throw std::bad_alloc();
  return converted;
}

}  // namespace

TBitmap::TBitmap(int32_t Width, int32_t Height, TPixelFormat Format)
    : FWidth(std::max(Width, 0)),
      FHeight(std::max(Height, 0)),
      FImage(WhiteImage(Width, Height, Format)),
      FFormat(Format),
      FCanvas(std::make_unique<TQtCanvas>(FImage)) {
  TakeFormat(Format);
}

TBitmap::~TBitmap() { FCanvas->EndPainting(); }

void TBitmap::TakeFormat(TPixelFormat Format) {
  FFormat = Format;
  FCanvas->SetTextAntialiasing(FFormat != pf4bit);
}

void TBitmap::Replace(QImage Picture, int32_t Width, int32_t Height) {
  FCanvas->EndPainting();
  FImage = std::move(Picture);
  FWidth = Width;
  FHeight = Height;
}

void TBitmap::SetSize(int32_t Width, int32_t Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == FWidth && Height == FHeight) return;
  QImage resized = WhiteImage(Width, Height, FFormat);
  PixelRaster::CopyBlock(resized, 0, 0, FImage, 0, 0, std::min(Width, FImage.width()),
                         std::min(Height, FImage.height()));
  Replace(std::move(resized), Width, Height);
}

void TBitmap::SetPixelFormat(TPixelFormat Format) {
  if (Format == FFormat) return;
  Replace(Converted(Image(), Format), FWidth, FHeight);
  TakeFormat(Format);
}

const QImage& TBitmap::Image() const {
  FCanvas->EndPainting();
  return FImage;
}

void TBitmap::Assign(const QImage& Picture) { Replace(Converted(Picture, FFormat)); }

void TBitmap::Assign(const TBitmap& Other) {
  if (&Other == this) return;
  Replace(Other.Image().copy(), Other.FWidth, Other.FHeight);
  TakeFormat(Other.FFormat);
}

QImage TBitmap::ExportImage() const {
  if (FFormat == pf4bit) return ReduceToStandardPalette(Image());
  return Image();
}

void TBitmap::LoadFromFile(const std::string& FileName) {
  int bitsPerPixel = 0;
  const QImage picture = ReadBmpFile(FileName, bitsPerPixel);
  const TPixelFormat format = bitsPerPixel == 4 ? pf4bit : bitsPerPixel == 16 ? pf15bit : pfDevice;
  Replace(Converted(picture, format));
  TakeFormat(format);
}

void TBitmap::SaveToFile(const std::string& FileName) const {
  WriteBmpFile(ExportImage(), FileName);
}
