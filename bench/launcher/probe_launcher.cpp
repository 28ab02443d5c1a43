// The launcher's start-up as the program does it; settles when the web view has finished its
// first load. argv[1]: the page address (the benchmark gives one on 127.0.0.1).
#include "first_paint_probe.h"
#include "UntPagina.h"
#include "UntVelmo.h"

#include <QApplication>
#include <QWebEngineView>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  TFrmVelmo FrmVelmo(kSuiteDirectory, QUrl(argc > 1 ? argv[1] : "about:blank"));
  FirstPaintProbe probe(&FrmVelmo, /*SettleOnPaint=*/false);
  QObject::connect(FrmVelmo.FrmPagina->WebBrowser1, &QWebEngineView::loadFinished,
                   &FirstPaintProbe::Settle);
  FrmVelmo.show();
  return app.exec();
}
