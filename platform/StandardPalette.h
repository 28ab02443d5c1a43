// The standard 16-colour palette of 4-bit bitmaps, in the classic desktop's index order.
#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

const QList<QRgb>& StandardPalette16();

// The palette index of the colour nearest to Colour (Euclidean distance in RGB; the lower index
// wins a tie).
int NearestStandardIndex(QRgb Colour);

// Image reduced to the palette: Format_Indexed8 with the 16 palette colours as its colour table.
QImage ReduceToStandardPalette(const QImage& Image);
