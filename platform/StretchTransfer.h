// The scaled block transfer (StretchBlt) between images of the formats PixelRaster writes.
#pragma once

#include <QImage>

#include "KVL_canvas.h"

struct TPixelRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Scales the Src rectangle of Source onto the Dst rectangle of Dest. smColorOnColor takes for each
// destination pixel the source pixel under its centre; smHalftone averages: the source area that
// falls on the destination pixel when shrinking, a bilinear blend of the four nearest source pixels
// when enlarging (per axis). A destination pixel whose centre maps outside Source keeps its colour,
// as do destination pixels outside Dest. Rectangles with a width or height below 1 transfer
// nothing. Source must not share memory with Dest.
void StretchTransfer(QImage& Dest, TPixelRect Dst, const QImage& Source, TPixelRect Src,
                     TStretchMode Mode);
