#include "ColorConversion.h"

namespace {

constexpr uint32_t kChannel = 0xFF;
constexpr int kGreenShift = 8;
constexpr int kBlueShift = 16;  // in TColor; red sits in the low byte

}  // namespace

QRgb ToQRgb(TColor Color) {
  return qRgb(static_cast<int>(Color & kChannel), static_cast<int>((Color >> kGreenShift) & kChannel),
              static_cast<int>((Color >> kBlueShift) & kChannel));
}

QColor ToQColor(TColor Color) { return QColor::fromRgb(ToQRgb(Color)); }

TColor FromQRgb(QRgb Rgb) {
  return static_cast<TColor>(qBlue(Rgb)) << kBlueShift |
         static_cast<TColor>(qGreen(Rgb)) << kGreenShift | static_cast<TColor>(qRed(Rgb));
}

TColor FromQColor(const QColor& Color) { return FromQRgb(Color.rgb()); }
