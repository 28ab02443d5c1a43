// Paints the launcher's promotional picture and writes it as a progressive JFIF JPEG:
//   velmo_artwork <output.jpg>
// The launcher stretches the picture into a panel much narrower than the picture's own aspect,
// so everything is designed in a narrower "panel space" and widened when painted: after the
// launcher's stretch the letters and circles come out with their natural proportions.
#include "JpegCodec.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

constexpr int kWidth = 927;   // pixels
constexpr int kHeight = 569;  // pixels
// The launcher's panel shows the picture in 387 x 351 pixels.
constexpr double kPanelAspect = 387.0 / 351.0;
constexpr double kDesignWidth = kHeight * kPanelAspect;  // panel-space width
constexpr int kJpegQuality = 88;
constexpr int kDotsPerInch = 96;

const QColor kNavy(12, 32, 64);
const QColor kTeal(18, 104, 120);
const QColor kGold(236, 180, 64);
const QColor kWhite(255, 255, 255);

struct TProgramTile {
  const char* Name;
  const char* Purpose;
  QColor Accent;
};

const TProgramTile kPrograms[] = {
    {"Ardeval", "Contabilidad", QColor(231, 76, 60)},
    {"Pelquin", "Nómina", QColor(241, 148, 56)},
    {"Storvik", "Almacén", QColor(241, 196, 15)},
    {"Tallomar", "Punto de venta", QColor(46, 204, 113)},
    {"Rodanel", "Vehículos", QColor(26, 188, 156)},
    {"Cargoven", "Gestión de carga", QColor(52, 152, 219)},
    {"Bilmaro", "Pasajeros", QColor(155, 89, 182)},
};

QFont Font(int PixelSize, QFont::Weight Weight) {
  QFont font("DejaVu Sans");
  font.setPixelSize(PixelSize);
  font.setWeight(Weight);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

void PaintBackground(QPainter& P) {
  QLinearGradient sky(0, 0, kDesignWidth, kHeight);
  sky.setColorAt(0.0, kNavy);
  sky.setColorAt(1.0, kTeal);
  P.fillRect(QRectF(0, 0, kDesignWidth, kHeight), sky);

  // A faint graticule: the suite's maps are its heritage.
  P.setPen(QPen(QColor(255, 255, 255, 18), 1));
  for (double x = 0; x < kDesignWidth; x += 32) P.drawLine(QLineF(x, 0, x, kHeight));
  for (double y = 0; y < kHeight; y += 32) P.drawLine(QLineF(0, y, kDesignWidth, y));

  QRadialGradient glow(QPointF(kDesignWidth * 0.85, 60), 260);
  glow.setColorAt(0.0, QColor(255, 255, 255, 60));
  glow.setColorAt(1.0, QColor(255, 255, 255, 0));
  P.setPen(Qt::NoPen);
  P.setBrush(glow);
  P.drawEllipse(QPointF(kDesignWidth * 0.85, 60), 260, 260);
  P.setBrush(Qt::NoBrush);
  P.setPen(QPen(QColor(255, 255, 255, 40), 2));
  P.drawEllipse(QPointF(kDesignWidth * 0.92, kHeight * 0.95), 170, 170);
  P.drawEllipse(QPointF(kDesignWidth * 0.92, kHeight * 0.95), 120, 120);
}

void PaintLogoAndName(QPainter& P) {
  const QRectF mark(28, 30, 64, 64);
  P.setPen(Qt::NoPen);
  P.setBrush(kGold);
  P.drawRoundedRect(mark, 14, 14);
  P.setPen(kNavy);
  P.setFont(Font(46, QFont::Black));
  P.drawText(mark, Qt::AlignCenter, "B");

  P.setPen(kWhite);
  P.setFont(Font(34, QFont::Bold));
  P.drawText(QPointF(108, 64), "Brenlow");
  P.setFont(Font(17, QFont::Normal));
  P.setPen(QColor(220, 232, 240));
  P.drawText(QPointF(110, 90), "Software S.A.S.");

  P.setPen(QPen(kGold, 3));
  P.drawLine(QLineF(30, 120, 200, 120));
  P.setPen(kWhite);
  P.setFont(Font(24, QFont::DemiBold));
  P.drawText(QPointF(28, 158), "Suite empresarial Velmo");
  P.setFont(Font(15, QFont::Normal));
  P.setPen(QColor(205, 220, 230));
  P.drawText(QPointF(30, 184), "Todos sus procesos de negocio, integrados.");
}

void PaintProgramTiles(QPainter& P) {
  constexpr int kColumns = 2;
  constexpr double kLeft = 28, kTop = 214, kGap = 10;
  constexpr double kTileHeight = 66;
  const double tileWidth = (kDesignWidth - 2 * kLeft - kGap) / kColumns;
  int index = 0;
  for (const TProgramTile& program : kPrograms) {
    const double x = kLeft + (index % kColumns) * (tileWidth + kGap);
    const double y = kTop + (index / kColumns) * (kTileHeight + kGap);
    const QRectF tile(x, y, tileWidth, kTileHeight);
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(255, 255, 255, 34));
    P.drawRoundedRect(tile, 8, 8);
    P.setBrush(program.Accent);
    P.drawRoundedRect(QRectF(x, y, 7, kTileHeight), 3, 3);
    P.setPen(kWhite);
    P.setFont(Font(21, QFont::Bold));
    P.drawText(QPointF(x + 20, y + 31), program.Name);
    P.setPen(QColor(214, 228, 236));
    P.setFont(Font(14, QFont::Normal));
    P.drawText(QPointF(x + 20, y + 52), QString::fromUtf8(program.Purpose));
    ++index;
  }
  // The eighth cell carries the web address, completing the grid.
  const double x = kLeft + tileWidth + kGap, y = kTop + 3 * (kTileHeight + kGap);
  P.setPen(QPen(kGold, 2));
  P.setBrush(Qt::NoBrush);
  P.drawRoundedRect(QRectF(x, y, tileWidth, kTileHeight), 8, 8);
  P.setPen(kGold);
  P.setFont(Font(15, QFont::DemiBold));
  P.drawText(QRectF(x, y, tileWidth, kTileHeight), Qt::AlignCenter, "www.brenlow.example");
}

QImage PaintArtwork() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(kWidth / kDesignWidth, 1.0);
  PaintBackground(painter);
  PaintLogoAndName(painter);
  PaintProgramTiles(painter);
  return image;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmo_artwork <output.jpg>\n");
    return 2;
  }
  // Painting text needs the font database of a GUI application, not a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    EncodeJpegFile(PaintArtwork(), QString::fromLocal8Bit(argv[1]),
                   {kJpegQuality, /*Progressive=*/true, kDotsPerInch});
  } catch (const EJpegError& e) {
    std::fprintf(stderr, "velmo_artwork: %s\n", e.what());
    return 1;
  }
  return 0;
}
