// A minimal Qt Widgets window of the launcher's size and kind, for comparison.
#include "first_paint_probe.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
  window.setGeometry(0, 0, 645, 373);
  FirstPaintProbe probe(&window, /*SettleOnPaint=*/true);
  window.show();
  return app.exec();
}
