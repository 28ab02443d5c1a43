// The launcher tests need one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QApplication>

#include <unistd.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  // The web engine's sandbox refuses to run as root, and the test display has no GPU. Only the
  // tests relax this; the product keeps its sandbox on a desktop.
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
