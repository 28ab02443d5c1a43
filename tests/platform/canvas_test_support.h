// Helpers shared by the canvas and bitmap tests.
#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <string>

#include "TBitmap.h"

// Fonts need a QGuiApplication; one is made on first use and lives for the process (unless a test
// of another unit already made one).
inline void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "test_platform";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

// The bitmap as rows of characters: '#' where the pixel has Ink, '.' where it is white, '?' else.
inline std::string Picture(const TBitmap& Bitmap, TColor Ink) {
  std::string rows;
  for (int32_t y = 0; y < Bitmap.Height(); ++y) {
    for (int32_t x = 0; x < Bitmap.Width(); ++x) {
      const TColor c = Bitmap.Canvas().Pixel(x, y);
      rows += c == Ink ? '#' : c == 0xFFFFFF ? '.' : '?';
    }
    rows += '\n';
  }
  return rows;
}

// Pixels whose colour differs between two bitmaps of the same size.
inline int DifferingPixels(const TBitmap& A, const TBitmap& B) {
  int count = 0;
  for (int32_t y = 0; y < A.Height(); ++y) {
    for (int32_t x = 0; x < A.Width(); ++x)
      count += A.Canvas().Pixel(x, y) != B.Canvas().Pixel(x, y);
  }
  return count;
}
