// The map control's tests need an application object for its widgets, fonts and images; they run
// on any Qt platform, the offscreen one included.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
