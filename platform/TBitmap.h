// An off-screen bitmap with a drawing canvas, over a QImage.
#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>

#include "TQtCanvas.h"

// Storage: pf15bit is QImage::Format_RGB555; pf32bit (the device format) is Format_RGB32;
// pf4bit is painted in Format_RGB32 (QPainter cannot paint indexed images) with plain-pixel text,
// its pixels reduced to the standard 16-colour palette whenever the format is set and when it is
// exported.
enum TPixelFormat : uint8_t { pf4bit, pf15bit, pf32bit, pfDevice = pf32bit };

class TBitmap {
 public:
  // A new bitmap, and every pixel added by growing one, is white. Sizes below 0 count as 0.
  // Sizes the memory cannot hold throw std::bad_alloc and leave the bitmap unchanged.
  explicit TBitmap(int32_t Width = 0, int32_t Height = 0, TPixelFormat Format = pfDevice);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // A bitmap may be 0 pixels wide and still have a height (and the other way round), so that
  // setting the width and then the height of an empty bitmap gives that size.
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Width) { SetSize(Width, Height()); }
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Height) { SetSize(Width(), Height); }
  void SetSize(int32_t Width, int32_t Height);  // keeps the overlapping picture
  TPixelFormat PixelFormat() const { return FFormat; }
  void SetPixelFormat(TPixelFormat Format);  // converts the picture

  TQtCanvas& Canvas() { return *FCanvas; }
  const TQtCanvas& Canvas() const { return *FCanvas; }

  // The picture in its storage format, for display and for encoders. Ends any painting in
  // progress, so a copy taken from it stays as it is.
  const QImage& Image() const;
  // Takes the picture and size of Picture, converted to this bitmap's format.
  void Assign(const QImage& Picture);
  // Takes picture, size and format of Other.
  void Assign(const TBitmap& Other);
  // The picture as it is written to files: pf4bit as a Format_Indexed8 image with the 16 colours
  // of the standard palette (nearest colour, no dithering), other formats as Image().
  QImage ExportImage() const;

  // Reads a BMP file: picture, size and format (4-bit files give pf4bit, 15- and 16-bit files
  // pf15bit, others pfDevice). Errors as ReadBmpFile; the bitmap is unchanged after one.
  void LoadFromFile(const std::string& FileName);
  // Writes the exported picture as a BMP file (pf4bit with 4 bits per pixel). Errors as
  // WriteBmpFile; an existing file stays as it was after one.
  void SaveToFile(const std::string& FileName) const;

 private:
  void TakeFormat(TPixelFormat Format);
  void Replace(QImage Picture, int32_t Width, int32_t Height);
  void Replace(QImage Picture) { Replace(Picture, Picture.width(), Picture.height()); }

  int32_t FWidth = 0;
  int32_t FHeight = 0;
  QImage FImage;  // null while the bitmap has no pixels
  TPixelFormat FFormat;
  std::unique_ptr<TQtCanvas> FCanvas;
};
