// The launcher program itself: pressing Finalizar ends the process with exit code 0.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest/QTest>

namespace {

constexpr int kWaitMs = 60000;
// The centre of Finalizar in screen pixels: the window lies at (0, 0) and Panel1 at its origin.
constexpr int kFinalizarX = 15 + 226 / 2;
constexpr int kFinalizarY = 298 + 44 / 2;

bool RunXdotool(const QStringList& Arguments) {
  QProcess xdotool;
  xdotool.start("xdotool", Arguments);
  return xdotool.waitForFinished(kWaitMs) && xdotool.exitStatus() == QProcess::NormalExit &&
         xdotool.exitCode() == 0;
}

TEST(LauncherProgram, FinalizarEndsTheProcessWithExitCodeZero) {
  QTemporaryDir elsewhere;  // the picture is found from any working directory
  QProcess launcher;
  launcher.setWorkingDirectory(elsewhere.path());
  launcher.setProcessChannelMode(QProcess::ForwardedChannels);
  launcher.start(VELMO_OFFLINE_PATH, {});
  ASSERT_TRUE(launcher.waitForStarted(kWaitMs));
  const QStringList findWindow = {"search", "--onlyvisible", "--pid",
                                  QString::number(launcher.processId()), "--name", "^Velmo$"};
  ASSERT_TRUE(QTest::qWaitFor([&] { return RunXdotool(findWindow); }, kWaitMs));
  ASSERT_TRUE(RunXdotool({"mousemove", "--sync", QString::number(kFinalizarX),
                          QString::number(kFinalizarY), "click", "1"}));
  ASSERT_TRUE(launcher.waitForFinished(kWaitMs));
  EXPECT_EQ(launcher.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(launcher.exitCode(), 0);
}

}  // namespace
