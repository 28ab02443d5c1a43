#include "TQtCanvas.h"

#include <QStaticText>
#include <algorithm>
#include <stdexcept>

#include "ColorConversion.h"
#include "PixelRaster.h"
#include "StretchTransfer.h"

namespace {

constexpr TColor kNoPixel = 0xFFFFFFFF;  // what a read outside the surface returns
constexpr double kScreenDpi = 96.0;      // font points are converted at the classic screen density
constexpr double kPointsPerInch = 72.0;
const char* const kDefaultFontName = "Tahoma";

// The line patterns of PixelRaster, for the outlines that QPainter draws.
const QList<qreal> kDashPattern{PixelRaster::kDashOn, PixelRaster::kDashOff};
const QList<qreal> kDotPattern{PixelRaster::kDotOn, PixelRaster::kDotOff};

void Normalise(int32_t& Low, int32_t& High) {
  if (Low > High) std::swap(Low, High);
}

// True when [Low, High) holds no pixel; the difference may exceed the 32-bit range.
bool Empty(int32_t Low, int32_t High) { return int64_t{High} - Low < 1; }

}  // namespace

TQtCanvas::TQtCanvas(QImage& Target) : FTarget(Target) {
  if (!FTarget.isNull() && !PixelRaster::IsSupported(FTarget.format())) {
    throw std::invalid_argument("TQtCanvas needs an RGB32 or RGB555 image");
  }
  FFont.setFamily(QString::fromUtf8(kDefaultFontName));
  FontChanged();
}

TQtCanvas::~TQtCanvas() { EndPainting(); }

void TQtCanvas::EndPainting() const {
  if (FPainter) FPainter->end();
  FPainter.reset();
}

QPainter& TQtCanvas::Painter() {
  if (!FPainter) {
    FPainter = std::make_unique<QPainter>(&FTarget);
    FPainter->setRenderHint(QPainter::Antialiasing, false);
  }
  return *FPainter;
}

// Applies the pen (when Outline) and the brush (when Fill) to the painter, with the pen mode.
void TQtCanvas::PreparePainter(bool Outline, bool Fill) {
  QPainter& painter = Painter();
  painter.resetTransform();
  painter.setCompositionMode(FPenMode == pmXor ? QPainter::RasterOp_SourceXorDestination
                                               : QPainter::CompositionMode_Source);
  if (Outline && FPenStyle != psClear) {
    QPen pen(ToQColor(FPenColor));
    pen.setCosmetic(!UsesWidePen());
    pen.setWidth(UsesWidePen() ? FPenWidth : 0);
    pen.setCapStyle(UsesWidePen() ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(UsesWidePen() ? Qt::RoundJoin : Qt::MiterJoin);
    // Wide pens are always solid, as on the desktop.
    if (!UsesWidePen() && FPenStyle == psDash) pen.setDashPattern(kDashPattern);
    if (!UsesWidePen() && FPenStyle == psDot) pen.setDashPattern(kDotPattern);
    painter.setPen(pen);
  } else {
    painter.setPen(Qt::NoPen);
  }
  if (Fill && FBrushStyle == bsSolid) {
    painter.setBrush(ToQColor(FBrushColor));
  } else {
    painter.setBrush(Qt::NoBrush);
  }
}

void TQtCanvas::SetTextAntialiasing(bool On) {
  FTextAntialiasing = On;
  FontChanged();
}

void TQtCanvas::SetPenWidth(int32_t Width) { FPenWidth = std::max(Width, 1); }

void TQtCanvas::SetBrushColor(TColor Color) {
  FBrushColor = Color;
  FBrushStyle = bsSolid;
}

std::string TQtCanvas::FontName() const { return FFont.family().toStdString(); }

void TQtCanvas::SetFontName(const std::string& Name) {
  FFont.setFamily(QString::fromStdString(Name));
  FontChanged();
}

void TQtCanvas::SetFontSize(int32_t Points) {
  FFontSize = std::max(Points, 1);
  FontChanged();
}

void TQtCanvas::SetFontStyles(uint8_t Styles) {
  FFontStyles = Styles;
  FontChanged();
}

void TQtCanvas::FontChanged() {
  FFont.setPixelSize(std::max(1, static_cast<int>(FFontSize * kScreenDpi / kPointsPerInch + 0.5)));
  FFont.setBold((FFontStyles & fstBold) != 0);
  FFont.setItalic((FFontStyles & fstItalic) != 0);
  FFont.setUnderline((FFontStyles & fstUnderline) != 0);
  FFont.setStrikeOut((FFontStyles & fstStrikeOut) != 0);
  FFont.setStyleStrategy(FTextAntialiasing ? QFont::PreferDefault : QFont::NoAntialias);
  FMetrics.reset();
}

const QFontMetrics& TQtCanvas::Metrics() const {
  if (!FMetrics) FMetrics.emplace(FFont);
  return *FMetrics;
}

void TQtCanvas::MoveTo(int32_t X, int32_t Y) { FPenPos = {X, Y}; }

void TQtCanvas::LineTo(int32_t X, int32_t Y) {
  const TPoint to{X, Y};
  if (UsesWidePen()) {
    if (!FTarget.isNull()) {
      PreparePainter(true, false);
      Painter().drawLine(QPoint(FPenPos.X, FPenPos.Y), QPoint(X, Y));
    }
  } else {
    int64_t phase = 0;
    PixelRaster::DrawLine(FTarget, FPenPos, to,
                          {PixelRaster::NativeOf(FTarget.format(), FPenColor), FPenMode == pmXor},
                          FPenStyle, phase);
  }
  FPenPos = to;
}

void TQtCanvas::Rectangle(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  if (FTarget.isNull()) return;
  Normalise(Left, Right);
  Normalise(Top, Bottom);
  if (Empty(Left, Right) || Empty(Top, Bottom)) return;
  const bool xorMode = FPenMode == pmXor;
  const bool outline = FPenStyle != psClear;
  if (FBrushStyle == bsSolid) {
    // Inside the outline; without a pen the filled area is one pixel smaller, as on the desktop.
    const int32_t inset = outline ? 1 : 0;
    PixelRaster::FillRect(FTarget, Left + inset, Top + inset, Right - 1, Bottom - 1,
                          {PixelRaster::NativeOf(FTarget.format(), FBrushColor), xorMode});
  }
  if (!outline) return;
  if (UsesWidePen()) {
    PreparePainter(true, false);
    Painter().drawRect(QRectF(Left + 0.5, Top + 0.5, static_cast<double>(Right) - Left - 1,
                              static_cast<double>(Bottom) - Top - 1));
    return;
  }
  // Each outline pixel exactly once, so that an XOR rectangle drawn twice restores the picture.
  const PixelRaster::TInk ink{PixelRaster::NativeOf(FTarget.format(), FPenColor), xorMode};
  const int32_t right = Right - 1, bottom = Bottom - 1;
  if (right == Left || bottom == Top) {  // a single row or column
    PixelRaster::FillRect(FTarget, Left, Top, right + 1, bottom + 1, ink);
    return;
  }
  int64_t phase = 0;
  PixelRaster::DrawLine(FTarget, {Left, Top}, {right, Top}, ink, FPenStyle, phase);
  PixelRaster::DrawLine(FTarget, {right, Top}, {right, bottom}, ink, FPenStyle, phase);
  PixelRaster::DrawLine(FTarget, {right, bottom}, {Left, bottom}, ink, FPenStyle, phase);
  PixelRaster::DrawLine(FTarget, {Left, bottom}, {Left, Top}, ink, FPenStyle, phase);
}

void TQtCanvas::FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  Normalise(Left, Right);
  Normalise(Top, Bottom);
  if (FBrushStyle != bsSolid) return;
  PixelRaster::FillRect(FTarget, Left, Top, Right, Bottom,
                        {PixelRaster::NativeOf(FTarget.format(), FBrushColor), false});
}

void TQtCanvas::Ellipse(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  if (FTarget.isNull()) return;
  Normalise(Left, Right);
  Normalise(Top, Bottom);
  if (Empty(Left, Right) || Empty(Top, Bottom)) return;
  PreparePainter(true, true);
  // A cosmetic outline of a w x h ellipse at (x, y) covers x ... x + w: this spans Left ... Right
  // - 1.
  Painter().drawEllipse(QRectF(Left, Top, static_cast<double>(Right) - Left - 1,
                               static_cast<double>(Bottom) - Top - 1));
}

void TQtCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.empty() || FTarget.isNull()) return;
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(Points.size()));
  for (const TPoint& p : Points) polygon.append(QPoint(p.X, p.Y));
  PreparePainter(true, true);
  Painter().drawPolygon(polygon, Qt::OddEvenFill);
}

TColor TQtCanvas::Pixel(int32_t X, int32_t Y) const {
  if (X < 0 || Y < 0 || X >= FTarget.width() || Y >= FTarget.height()) return kNoPixel;
  return PixelRaster::ReadPixel(FTarget, X, Y);
}

void TQtCanvas::SetPixel(int32_t X, int32_t Y, TColor Color) {
  PixelRaster::WritePixel(FTarget, X, Y, {PixelRaster::NativeOf(FTarget.format(), Color), false});
}

void TQtCanvas::TextOut(int32_t X, int32_t Y, const std::string& Text) {
  if (Text.empty() || FTarget.isNull()) return;
  const QString text = QString::fromStdString(Text);
  QPainter& painter = Painter();
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.resetTransform();
  painter.translate(X, Y);
  if (FFontAngle != 0.0) painter.rotate(-FFontAngle);  // the angle is counter-clockwise
  if (FBrushStyle == bsSolid) {
    painter.fillRect(QRect(0, 0, TextWidth(Text), TextHeight(Text)), ToQColor(FBrushColor));
  }
  painter.setFont(FFont);
  painter.setPen(ToQColor(FFontColor));
  painter.drawStaticText(QPointF(0, 0), FTextCache.Layout(text, FFont));
}

int32_t TQtCanvas::TextWidth(const std::string& Text) const {
  return Metrics().horizontalAdvance(QString::fromStdString(Text));
}

int32_t TQtCanvas::TextHeight(const std::string&) const { return Metrics().height(); }

const TQtCanvas& TQtCanvas::SameKind(const TCanvas& Source) {
  const auto* source = dynamic_cast<const TQtCanvas*>(&Source);
  if (source == nullptr) throw std::invalid_argument("the source canvas is not a TQtCanvas");
  return *source;
}

void TQtCanvas::CopyRect(int32_t DestLeft, int32_t DestTop, int32_t Width, int32_t Height,
                         const TCanvas& Source, int32_t SrcLeft, int32_t SrcTop) {
  const QImage& source = SameKind(Source).FTarget;
  // Clip to both images, keeping source and destination aligned (64-bit: the edges may lie far
  // out).
  const auto clip = [](int32_t& dst, int32_t& src, int32_t& size, int32_t dstExtent,
                       int32_t srcExtent) {
    const int64_t skip = std::max<int64_t>({0, -int64_t{dst}, -int64_t{src}});
    const int64_t d = dst + skip, s = src + skip;
    const int64_t n = std::min<int64_t>({size - skip, dstExtent - d, srcExtent - s});
    if (n <= 0) {
      size = 0;
      return;
    }
    dst = static_cast<int32_t>(d);
    src = static_cast<int32_t>(s);
    size = static_cast<int32_t>(n);
  };
  clip(DestLeft, SrcLeft, Width, FTarget.width(), source.width());
  clip(DestTop, SrcTop, Height, FTarget.height(), source.height());
  if (Width <= 0 || Height <= 0) return;
  PixelRaster::CopyBlock(FTarget, DestLeft, DestTop, source, SrcLeft, SrcTop, Width, Height);
}

void TQtCanvas::StretchRect(int32_t DestLeft, int32_t DestTop, int32_t DestWidth,
                            int32_t DestHeight, const TCanvas& Source, int32_t SrcLeft,
                            int32_t SrcTop, int32_t SrcWidth, int32_t SrcHeight,
                            TStretchMode Mode) {
  const QImage& source = SameKind(Source).FTarget;
  const TPixelRect dst{DestLeft, DestTop, DestWidth, DestHeight};
  const TPixelRect src{SrcLeft, SrcTop, SrcWidth, SrcHeight};
  if (&source == &FTarget) {
    StretchTransfer(FTarget, dst, source.copy(), src,
                    Mode);  // deep copy: the rectangles may overlap
  } else {
    StretchTransfer(FTarget, dst, source, src, Mode);
  }
}
