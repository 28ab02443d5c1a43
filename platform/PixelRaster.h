// Direct pixel work on the two storage formats of TBitmap (QImage::Format_RGB32 and
// QImage::Format_RGB555). Lines and rectangle outlines are rasterised here rather than through
// QPainter: Qt 6.4's cosmetic lines leave its fast path beyond about 90 pixels on 16-bit targets
// and in XOR mode (some 50x slower), and cutting them into shorter QPainter lines moves pixels
// because the cut points are not on the pixel grid. Integer rasterisation keeps every pixel of a
// line the same on every format and in every mode, and an XOR line drawn twice restores the
// picture.
#pragma once

#include <QImage>

#include "KVL_canvas.h"

namespace PixelRaster {

// Cosmetic pen patterns in pixels (on, off), as the classic desktop draws them.
constexpr int kDashOn = 18, kDashOff = 6;
constexpr int kDotOn = 3, kDotOff = 3;

// Channel access for the two storage formats, so the inner loops carry no format test.
template <typename TPixel>
struct TFormat;

template <>
struct TFormat<uint32_t> {
  static uint32_t Red(uint32_t P) { return (P >> 16) & 0xFF; }
  static uint32_t Green(uint32_t P) { return (P >> 8) & 0xFF; }
  static uint32_t Blue(uint32_t P) { return P & 0xFF; }
  static uint32_t Pack(uint32_t R, uint32_t G, uint32_t B) {
    return 0xFF000000u | R << 16 | G << 8 | B;
  }
};

template <>
struct TFormat<uint16_t> {
  static uint32_t Widen(uint32_t V) { return V << 3 | V >> 2; }
  static uint32_t Red(uint16_t P) { return Widen((P >> 10) & 0x1F); }
  static uint32_t Green(uint16_t P) { return Widen((P >> 5) & 0x1F); }
  static uint32_t Blue(uint16_t P) { return Widen(P & 0x1F); }
  static uint16_t Pack(uint32_t R, uint32_t G, uint32_t B) {
    return static_cast<uint16_t>((R >> 3) << 10 | (G >> 3) << 5 | (B >> 3));
  }
};

// True for the formats this unit writes: QImage::Format_RGB32 and QImage::Format_RGB555.
bool IsSupported(QImage::Format Format);

// The stored value of a 0x00BBGGRR colour in the image's format, and back (RGB555 widens each
// 5-bit channel to 8 bits as Qt does, v << 3 | v >> 2).
uint32_t NativeOf(QImage::Format Format, TColor Color);
TColor ColorOf(QImage::Format Format, uint32_t Native);

// What a raster operation writes: either Native itself or Native XOR the pixel below.
struct TInk {
  uint32_t Native = 0;
  bool Xor = false;
};

TColor ReadPixel(const QImage& Image, int32_t X, int32_t Y);     // X, Y inside the image
void WritePixel(QImage& Image, int32_t X, int32_t Y, TInk Ink);  // ignored outside

// Pixels [Left, Right) x [Top, Bottom), clipped to the image.
void FillRect(QImage& Image, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, TInk Ink);

// The pixels of the line from From up to, not including, To (end point excluded). Style picks the
// dash pattern; Phase is the pattern position of the first pixel and is advanced by the line's
// length, so that a polyline continues its pattern.
void DrawLine(QImage& Image, TPoint From, TPoint To, TInk Ink, TPenStyle Style, int64_t& Phase);

// Copies Width x Height pixels from (SrcLeft, SrcTop) of Source to (DestLeft, DestTop) of Dest,
// converting the format if they differ. Both rectangles must lie inside their images; Source may be
// Dest itself, with overlapping rectangles.
void CopyBlock(QImage& Dest, int32_t DestLeft, int32_t DestTop, const QImage& Source,
               int32_t SrcLeft, int32_t SrcTop, int32_t Width, int32_t Height);

}  // namespace PixelRaster
