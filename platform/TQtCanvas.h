// TCanvas on a QImage, with the semantics of the classic desktop GDI.
//
// Painter scheme: a QPainter is begun lazily by the operations that need one (ellipses, polygons,
// wide pens, text) and stays open across calls, so runs of drawing pay for one begin only. Lines,
// one-pixel rectangle outlines, fills, pixels, block copies and scaled transfers write the image
// memory directly; the raster engine paints synchronously into that same memory, so both kinds of
// drawing mix freely. EndPainting() closes the painter; the owner calls it before the image is
// handed out (a copy sharing the buffer would otherwise keep changing) or reallocated.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>

#include "KVL_canvas.h"
#include "TextLayoutCache.h"

class TQtCanvas final : public TCanvas {
 public:
  // Target must be QImage::Format_RGB32 or Format_RGB555 and outlive the canvas.
  explicit TQtCanvas(QImage& Target);
  ~TQtCanvas() override;
  TQtCanvas(const TQtCanvas&) = delete;
  TQtCanvas& operator=(const TQtCanvas&) = delete;

  // Text is antialiased unless switched off (16-colour bitmaps draw it with plain pixels).
  void SetTextAntialiasing(bool On);
  void EndPainting() const;

  int32_t Width() const override { return FTarget.width(); }
  int32_t Height() const override { return FTarget.height(); }

  TColor PenColor() const override { return FPenColor; }
  void SetPenColor(TColor Color) override { FPenColor = Color; }
  int32_t PenWidth() const override { return FPenWidth; }
  void SetPenWidth(int32_t Width) override;
  TPenStyle PenStyle() const override { return FPenStyle; }
  void SetPenStyle(TPenStyle Style) override { FPenStyle = Style; }
  TPenMode PenMode() const override { return FPenMode; }
  void SetPenMode(TPenMode Mode) override { FPenMode = Mode; }

  TColor BrushColor() const override { return FBrushColor; }
  void SetBrushColor(TColor Color) override;
  TBrushStyle BrushStyle() const override { return FBrushStyle; }
  void SetBrushStyle(TBrushStyle Style) override { FBrushStyle = Style; }

  std::string FontName() const override;
  void SetFontName(const std::string& Name) override;
  int32_t FontSize() const override { return FFontSize; }
  void SetFontSize(int32_t Points) override;
  uint8_t FontStyles() const override { return FFontStyles; }
  void SetFontStyles(uint8_t Styles) override;
  TColor FontColor() const override { return FFontColor; }
  void SetFontColor(TColor Color) override { FFontColor = Color; }
  double FontAngle() const override { return FFontAngle; }
  void SetFontAngle(double Degrees) override { FFontAngle = Degrees; }

  TPoint PenPos() const override { return FPenPos; }
  void MoveTo(int32_t X, int32_t Y) override;
  void LineTo(int32_t X, int32_t Y) override;
  void Rectangle(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) override;
  void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) override;
  void Ellipse(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) override;
  void Polygon(const std::vector<TPoint>& Points) override;
  TColor Pixel(int32_t X, int32_t Y) const override;  // 0xFFFFFFFF outside the surface
  void SetPixel(int32_t X, int32_t Y, TColor Color) override;

  void TextOut(int32_t X, int32_t Y, const std::string& Text) override;
  int32_t TextWidth(const std::string& Text) const override;
  int32_t TextHeight(const std::string& Text) const override;

  // Source must be a TQtCanvas (std::invalid_argument otherwise); it may be this canvas.
  void CopyRect(int32_t DestLeft, int32_t DestTop, int32_t Width, int32_t Height,
                const TCanvas& Source, int32_t SrcLeft, int32_t SrcTop) override;
  void StretchRect(int32_t DestLeft, int32_t DestTop, int32_t DestWidth, int32_t DestHeight,
                   const TCanvas& Source, int32_t SrcLeft, int32_t SrcTop, int32_t SrcWidth,
                   int32_t SrcHeight, TStretchMode Mode) override;

 private:
  QPainter& Painter();
  void PreparePainter(bool Outline, bool Fill);
  void FontChanged();
  const QFontMetrics& Metrics() const;
  bool UsesWidePen() const { return FPenWidth > 1; }
  static const TQtCanvas& SameKind(const TCanvas& Source);

  QImage& FTarget;
  mutable std::unique_ptr<QPainter> FPainter;

  TColor FPenColor = 0x000000;
  int32_t FPenWidth = 1;
  TPenStyle FPenStyle = psSolid;
  TPenMode FPenMode = pmCopy;
  TColor FBrushColor = 0xFFFFFF;
  TBrushStyle FBrushStyle = bsSolid;
  int32_t FFontSize = 8;
  uint8_t FFontStyles = 0;
  TColor FFontColor = 0x000000;
  double FFontAngle = 0.0;
  bool FTextAntialiasing = true;
  QFont FFont;
  mutable std::optional<QFontMetrics> FMetrics;
  TextLayoutCache FTextCache;
  TPoint FPenPos;
};
