// Colours cross into Qt here and nowhere else: the library's TColor is 0x00BBGGRR (red in the low
// byte), Qt's QRgb is 0xAARRGGBB.
#pragma once

#include <QColor>
#include <QRgb>

#include "KVL_canvas.h"

// Opaque: TColor carries no alpha.
QRgb ToQRgb(TColor Color);
QColor ToQColor(TColor Color);

// The alpha channel is dropped.
TColor FromQRgb(QRgb Rgb);
TColor FromQColor(const QColor& Color);
