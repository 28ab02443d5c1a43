// A small pixel grid implementing TCanvas for frame-drawing tests: pen colour, current position
// and one-pixel lines whose end point is left out. Every other drawing operation fails the test,
// since frame drawing must not use it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "KVL_canvas.h"

class TRasterCanvas : public TCanvas {
 public:
  static constexpr TColor kUntouched = 0xFF000000;  // no colour of 0x00BBGGRR has this bit

  TRasterCanvas(int32_t Width, int32_t Height)
      : FWidth(Width), FHeight(Height), FPixels(static_cast<size_t>(Width * Height), kUntouched) {}

  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }

  TColor PenColor() const override { return FPenColor; }
  void SetPenColor(TColor Color) override { FPenColor = Color; }
  int32_t PenWidth() const override { return FPenWidth; }
  void SetPenWidth(int32_t Width) override { FPenWidth = Width; }
  TPenStyle PenStyle() const override { return FPenStyle; }
  void SetPenStyle(TPenStyle Style) override { FPenStyle = Style; }
  TPenMode PenMode() const override { return FPenMode; }
  void SetPenMode(TPenMode Mode) override { FPenMode = Mode; }

  TColor BrushColor() const override { return 0; }
  void SetBrushColor(TColor) override { Unexpected(); }
  TBrushStyle BrushStyle() const override { return bsSolid; }
  void SetBrushStyle(TBrushStyle) override { Unexpected(); }
  std::string FontName() const override { return {}; }
  void SetFontName(const std::string&) override { Unexpected(); }
  int32_t FontSize() const override { return 0; }
  void SetFontSize(int32_t) override { Unexpected(); }
  uint8_t FontStyles() const override { return 0; }
  void SetFontStyles(uint8_t) override { Unexpected(); }
  TColor FontColor() const override { return 0; }
  void SetFontColor(TColor) override { Unexpected(); }
  double FontAngle() const override { return 0.0; }
  void SetFontAngle(double) override { Unexpected(); }

  TPoint PenPos() const override { return FPenPos; }
  void MoveTo(int32_t X, int32_t Y) override { FPenPos = {X, Y}; }

  // Bresenham from the current position up to, not including, (X, Y).
  void LineTo(int32_t X, int32_t Y) override {
    int32_t x = FPenPos.X;
    int32_t y = FPenPos.Y;
    const int32_t dx = std::abs(X - x);
    const int32_t dy = -std::abs(Y - y);
    const int32_t sx = x < X ? 1 : -1;
    const int32_t sy = y < Y ? 1 : -1;
    int32_t error = dx + dy;
    while (x != X || y != Y) {
      SetPixel(x, y, FPenColor);
      const int32_t twice = 2 * error;
      if (twice >= dy) {
        error += dy;
        x += sx;
      }
      if (twice <= dx) {
        error += dx;
        y += sy;
      }
    }
    FPenPos = {X, Y};
  }

  void Rectangle(int32_t, int32_t, int32_t, int32_t) override { Unexpected(); }
  void FillRect(int32_t, int32_t, int32_t, int32_t) override { Unexpected(); }
  void Ellipse(int32_t, int32_t, int32_t, int32_t) override { Unexpected(); }
  void Polygon(const std::vector<TPoint>&) override { Unexpected(); }

  TColor Pixel(int32_t X, int32_t Y) const override {
    return Inside(X, Y) ? FPixels[Index(X, Y)] : kUntouched;
  }
  void SetPixel(int32_t X, int32_t Y, TColor Color) override {
    if (Inside(X, Y)) FPixels[Index(X, Y)] = Color;
  }

  void TextOut(int32_t, int32_t, const std::string&) override { Unexpected(); }
  int32_t TextWidth(const std::string&) const override { return 0; }
  int32_t TextHeight(const std::string&) const override { return 0; }
  void CopyRect(int32_t, int32_t, int32_t, int32_t, const TCanvas&, int32_t, int32_t) override {
    Unexpected();
  }
  void StretchRect(int32_t, int32_t, int32_t, int32_t, const TCanvas&, int32_t, int32_t, int32_t,
                   int32_t, TStretchMode) override {
    Unexpected();
  }

 private:
  static void Unexpected() { ADD_FAILURE() << "frame drawing used an operation it must not use"; }
  bool Inside(int32_t X, int32_t Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }
  size_t Index(int32_t X, int32_t Y) const { return static_cast<size_t>(Y * FWidth + X); }

  int32_t FWidth;
  int32_t FHeight;
  std::vector<TColor> FPixels;
  TColor FPenColor = 0;
  int32_t FPenWidth = 1;
  TPenStyle FPenStyle = psSolid;
  TPenMode FPenMode = pmCopy;
  TPoint FPenPos;
};
