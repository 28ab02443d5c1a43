// The map control's tests need an application object for its widgets, fonts and images; they run
// on any Qt platform, the offscreen one included.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  // Without a display, draw off screen rather than fail to start.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                    : qgetenv("QT_QPA_PLATFORM"));
  }
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
