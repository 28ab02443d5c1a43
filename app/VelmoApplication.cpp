#include "VelmoApplication.h"

#include "UntVelmo.h"

#include <QApplication>

int RunVelmo(int& argc, char** argv, const QUrl& PageAddress) {
  // Qt 6 scales every window by the screen's pixel density on its own.
  QApplication app(argc, argv);
  // Each top-level window of Qt owns its task-bar entry, so the main window's shows "Velmo".
  // The main window creates the hidden web page window, which starts loading at once.
  TFrmVelmo FrmVelmo(kSuiteDirectory, PageAddress);
  FrmVelmo.show();
  return app.exec();
}
