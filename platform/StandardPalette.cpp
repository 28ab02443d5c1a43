#include "StandardPalette.h"

#include <limits>
#include <unordered_map>

const QList<QRgb>& StandardPalette16() {
  static const QList<QRgb> palette{
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  return palette;
}

int NearestStandardIndex(QRgb Colour) {
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  const QList<QRgb>& palette = StandardPalette16();
  for (int i = 0; i < palette.size(); ++i) {
    const int dr = qRed(Colour) - qRed(palette[i]), dg = qGreen(Colour) - qGreen(palette[i]),
              db = qBlue(Colour) - qBlue(palette[i]);
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

QImage ReduceToStandardPalette(const QImage& Image) {
  const QImage source = Image.convertToFormat(QImage::Format_RGB32);
  QImage reduced(source.size(), QImage::Format_Indexed8);
  reduced.setColorTable(StandardPalette16());
  std::unordered_map<QRgb, uchar> seen;  // maps are usually a handful of colours
  for (int y = 0; y < source.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    uchar* out = reduced.scanLine(y);
    for (int x = 0; x < source.width(); ++x) {
      const QRgb colour = in[x] | 0xFF000000u;
      auto found = seen.find(colour);
      if (found == seen.end()) {
        found = seen.emplace(colour, static_cast<uchar>(NearestStandardIndex(colour))).first;
      }
      out[x] = found->second;
    }
  }
  return reduced;
}
