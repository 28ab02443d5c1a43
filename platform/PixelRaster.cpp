#include "PixelRaster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ColorConversion.h"

namespace PixelRaster {
namespace {

__extension__ typedef __int128 TWide;  // products of two 33-bit line extents

bool PatternOn(TPenStyle Style, int64_t Index) {
  switch (Style) {
    case psDash:
      return Index % (kDashOn + kDashOff) < kDashOn;
    case psDot:
      return Index % (kDotOn + kDotOff) < kDotOn;
    case psClear:
      return false;
    case psSolid:
      break;
  }
  return true;
}

template <typename TPixel>
inline void Put(TPixel* Row, int32_t X, TInk Ink) {
  if (Ink.Xor) {
    Row[X] = static_cast<TPixel>(Row[X] ^ Ink.Native);
  } else {
    Row[X] = static_cast<TPixel>(Ink.Native);
  }
}

template <typename TPixel>
void FillRows(QImage& Image, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, TInk Ink) {
  for (int32_t y = Top; y < Bottom; ++y) {
    auto* row = reinterpret_cast<TPixel*>(Image.scanLine(y));
    if (Ink.Xor) {
      for (int32_t x = Left; x < Right; ++x) Put(row, x, Ink);
    } else {
      std::fill(row + Left, row + Right, static_cast<TPixel>(Ink.Native));
    }
  }
}

// Offset of the minor coordinate at step I of a line with N major steps and minor extent D >= 0:
// the nearest integer to I * D / N, halves rounded away from the start.
inline int64_t MinorOffset(int64_t I, int64_t D, int64_t N) {
  return static_cast<int64_t>((static_cast<TWide>(2) * I * D + N) / (static_cast<TWide>(2) * N));
}

// Smallest step I in [0, N] whose minor offset reaches Target (N + 1 when none does).
int64_t FirstStepReaching(int64_t Target, int64_t D, int64_t N) {
  if (Target <= 0) return 0;
  if (D == 0) return N + 1;
  // 2 I D + N >= 2 N Target  <=>  I >= (2 N Target - N) / (2 D), rounded up.
  const TWide need = static_cast<TWide>(2) * N * Target - N;
  const TWide step = (need + 2 * static_cast<TWide>(D) - 1) / (2 * static_cast<TWide>(D));
  return step > N ? N + 1 : static_cast<int64_t>(step);
}

template <typename TPixel>
void Rasterise(QImage& Image, TPoint From, TPoint To, TInk Ink, TPenStyle Style, int64_t Phase) {
  const int64_t dx = int64_t{To.X} - From.X, dy = int64_t{To.Y} - From.Y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
  const int64_t d = xMajor ? std::llabs(dy) : std::llabs(dx);
  const int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t major0 = xMajor ? From.X : From.Y, minor0 = xMajor ? From.Y : From.X;
  const int64_t majorLimit = xMajor ? Image.width() : Image.height();
  const int64_t minorLimit = xMajor ? Image.height() : Image.width();

  // Steps whose major coordinate lies inside the image.
  int64_t first = 0, last = n - 1;
  if (majorSign > 0) {
    first = std::max(first, -major0);
    last = std::min(last, majorLimit - 1 - major0);
  } else {
    first = std::max(first, major0 - (majorLimit - 1));
    last = std::min(last, major0);
  }
  // Steps whose minor coordinate lies inside: the offset grows monotonically with the step.
  const int64_t lowTarget = minorSign > 0 ? -minor0 : minor0 - (minorLimit - 1);
  const int64_t highTarget = minorSign > 0 ? minorLimit - minor0 : minor0 + 1;
  first = std::max(first, FirstStepReaching(lowTarget, d, n));
  last = std::min(last, FirstStepReaching(highTarget, d, n) - 1);
  if (first > last) return;

  // Incremental midpoint walk from the first visible step: Error tracks 2 I D + N mod 2 N.
  int64_t minor = MinorOffset(first, d, n);
  int64_t error = static_cast<int64_t>((static_cast<TWide>(2) * first * d + n) -
                                       static_cast<TWide>(2) * n * minor);
  for (int64_t i = first; i <= last; ++i) {
    if (PatternOn(Style, Phase + i)) {
      const int64_t a = major0 + majorSign * i, b = minor0 + minorSign * minor;
      const int32_t x = static_cast<int32_t>(xMajor ? a : b),
                    y = static_cast<int32_t>(xMajor ? b : a);
      Put(reinterpret_cast<TPixel*>(Image.scanLine(y)), x, Ink);
    }
    error += 2 * d;
    if (error >= 2 * n) {
      error -= 2 * n;
      ++minor;
    }
  }
}

template <typename TSrc, typename TDst>
void ConvertBlock(QImage& Dest, int32_t DestLeft, int32_t DestTop, const QImage& Source,
                  int32_t SrcLeft, int32_t SrcTop, int32_t Width, int32_t Height) {
  for (int32_t k = 0; k < Height; ++k) {
    const auto* in = reinterpret_cast<const TSrc*>(Source.constScanLine(SrcTop + k)) + SrcLeft;
    auto* out = reinterpret_cast<TDst*>(Dest.scanLine(DestTop + k)) + DestLeft;
    for (int32_t x = 0; x < Width; ++x) {
      out[x] = TFormat<TDst>::Pack(TFormat<TSrc>::Red(in[x]), TFormat<TSrc>::Green(in[x]),
                                   TFormat<TSrc>::Blue(in[x]));
    }
  }
}

}  // namespace

bool IsSupported(QImage::Format Format) {
  return Format == QImage::Format_RGB32 || Format == QImage::Format_RGB555;
}

uint32_t NativeOf(QImage::Format Format, TColor Color) {
  const QRgb rgb = ToQRgb(Color);
  if (Format == QImage::Format_RGB555) {
    return TFormat<uint16_t>::Pack(qRed(rgb), qGreen(rgb), qBlue(rgb));
  }
  return rgb;  // Format_RGB32 stores opaque QRgb values
}

TColor ColorOf(QImage::Format Format, uint32_t Native) {
  if (Format == QImage::Format_RGB555) {
    const auto p = static_cast<uint16_t>(Native);
    using F = TFormat<uint16_t>;
    return FromQRgb(qRgb(F::Red(p), F::Green(p), F::Blue(p)));
  }
  return FromQRgb(Native);
}

TColor ReadPixel(const QImage& Image, int32_t X, int32_t Y) {
  if (Image.format() == QImage::Format_RGB555) {
    return ColorOf(Image.format(), reinterpret_cast<const uint16_t*>(Image.constScanLine(Y))[X]);
  }
  return ColorOf(Image.format(), reinterpret_cast<const uint32_t*>(Image.constScanLine(Y))[X]);
}

void WritePixel(QImage& Image, int32_t X, int32_t Y, TInk Ink) {
  if (X < 0 || Y < 0 || X >= Image.width() || Y >= Image.height()) return;
  if (Image.format() == QImage::Format_RGB555) {
    Put(reinterpret_cast<uint16_t*>(Image.scanLine(Y)), X, Ink);
  } else {
    Put(reinterpret_cast<uint32_t*>(Image.scanLine(Y)), X, Ink);
  }
}

void FillRect(QImage& Image, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, TInk Ink) {
  Left = std::max(Left, 0);
  Top = std::max(Top, 0);
  Right = std::min(Right, Image.width());
  Bottom = std::min(Bottom, Image.height());
  if (Left >= Right || Top >= Bottom) return;
  if (Image.format() == QImage::Format_RGB555) {
    FillRows<uint16_t>(Image, Left, Top, Right, Bottom, Ink);
  } else {
    FillRows<uint32_t>(Image, Left, Top, Right, Bottom, Ink);
  }
}

void DrawLine(QImage& Image, TPoint From, TPoint To, TInk Ink, TPenStyle Style, int64_t& Phase) {
  if (From == To) return;
  if (Style != psClear) {
    if (Image.format() == QImage::Format_RGB555) {
      Rasterise<uint16_t>(Image, From, To, Ink, Style, Phase);
    } else {
      Rasterise<uint32_t>(Image, From, To, Ink, Style, Phase);
    }
  }
  Phase += std::max(std::llabs(int64_t{To.X} - From.X), std::llabs(int64_t{To.Y} - From.Y));
}

void CopyBlock(QImage& Dest, int32_t DestLeft, int32_t DestTop, const QImage& Source,
               int32_t SrcLeft, int32_t SrcTop, int32_t Width, int32_t Height) {
  if (Width <= 0 || Height <= 0) return;
  if (Source.format() != Dest.format()) {  // different images: no overlap
    if (Source.format() == QImage::Format_RGB555) {
      ConvertBlock<uint16_t, uint32_t>(Dest, DestLeft, DestTop, Source, SrcLeft, SrcTop, Width,
                                       Height);
    } else {
      ConvertBlock<uint32_t, uint16_t>(Dest, DestLeft, DestTop, Source, SrcLeft, SrcTop, Width,
                                       Height);
    }
    return;
  }
  const size_t pixelBytes = static_cast<size_t>(Dest.depth() / 8);
  const size_t bytes = static_cast<size_t>(Width) * pixelBytes;
  // Within one image, rows run against the direction of the move so none is read after overwrite.
  const bool upwards = &Source == &Dest && DestTop > SrcTop;
  for (int32_t k = 0; k < Height; ++k) {
    const int32_t row = upwards ? Height - 1 - k : k;
    uchar* to = Dest.scanLine(DestTop + row) + static_cast<size_t>(DestLeft) * pixelBytes;
    const uchar* from =
        Source.constScanLine(SrcTop + row) + static_cast<size_t>(SrcLeft) * pixelBytes;
    std::memmove(to, from, bytes);
  }
}

}  // namespace PixelRaster
