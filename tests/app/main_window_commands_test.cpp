// The main window's commands: starting suite programs, the web page button, ending, dragging.
#include "launcher_fixture.h"
#include "UntPagina.h"

#include <functional>

#include <QFrame>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kTimedOut = 99;

struct TStartButton {
  QPushButton* TFrmVelmo::*Button;
  Qt::Key Accelerator;
  const char* Program;
};

const TStartButton kStartButtons[] = {
    {&TFrmVelmo::BitBtn1, Qt::Key_C, "Ardeval.exe"},  {&TFrmVelmo::BitBtn2, Qt::Key_N, "Pelquin.exe"},
    {&TFrmVelmo::BitBtn3, Qt::Key_L, "Storvik.exe"},  {&TFrmVelmo::BitBtn4, Qt::Key_P, "Tallomar.exe"},
    {&TFrmVelmo::BitBtn5, Qt::Key_A, "Rodanel.exe"},  {&TFrmVelmo::BitBtn6, Qt::Key_G, "Cargoven.exe"},
    {&TFrmVelmo::BitBtn7, Qt::Key_E, "Bilmaro.exe"},
};

int VisibleTopLevels() {
  int count = 0;
  for (const QWidget* widget : QApplication::topLevelWidgets()) count += widget->isVisible();
  return count;
}

// Each start button, by click and then by its Alt accelerator, starts one more instance of its
// program with the single argument "Velmo" in the launcher's directory, without waiting for it.
TEST_F(LauncherTest, StartButtonsStartTheirProgramByClickAndByAccelerator) {
  Open(TProgramKind::Recording);
  const QString expected = "1|Velmo|" + QDir::currentPath();
  for (const TStartButton& start : kStartButtons) {
    SCOPED_TRACE(start.Program);
    QTest::mouseClick(Window.get()->*start.Button, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Records(start.Program).size() == 1; }, kWaitMs));
    QTest::keyClick(Window.get(), start.Accelerator, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Records(start.Program).size() == 2; }, kWaitMs));
    for (const QString& record : Records(start.Program)) EXPECT_EQ(record, expected);
    // Both instances are still running: the launcher went on without waiting for them.
    EXPECT_FALSE(AnyEnded(start.Program));
  }
  EXPECT_TRUE(Window->isVisible());
}

TEST_F(LauncherTest, ProgramsThatCannotStartLeaveTheLauncherAsItWas) {
  for (const TProgramKind kind : {TProgramKind::Missing, TProgramKind::NotExecutable}) {
    SCOPED_TRACE(kind == TProgramKind::Missing ? "missing" : "not executable");
    Open(kind);
    for (const TStartButton& start : kStartButtons) {
      QTest::mouseClick(Window.get()->*start.Button, Qt::LeftButton);
      QTest::keyClick(Window.get(), start.Accelerator, Qt::AltModifier);
    }
    EXPECT_EQ(VisibleTopLevels(), 1) << "no message of any kind";
    EXPECT_TRUE(Window->isActiveWindow());
    // Still responsive: the next command works at once.
    QTest::keyClick(Window.get(), Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Window->FrmPagina->isVisible(); }, kWaitMs));
    for (const QString& program : kProgramFiles) EXPECT_TRUE(Records(program).isEmpty());
    Close();
  }
}

// Runs the application's event loop until it ends or the timeout passes; returns its exit code.
int ExecUntilQuit(const std::function<void()>& Command) {
  QTimer::singleShot(0, Command);
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(kTimedOut); });
  watchdog.start(kWaitMs);
  return QApplication::exec();
}

TEST_F(LauncherTest, FinalizarEndsTheApplicationEvenWithThePageWindowOpen) {
  for (const bool byAccelerator : {false, true}) {
    SCOPED_TRACE(byAccelerator ? "Alt+F" : "click");
    Open(TProgramKind::Recording);
    Window->BitBtn8Click();
    ReturnToMainWindow();
    EXPECT_EQ(ExecUntilQuit([&] {
                if (byAccelerator)
                  QTest::keyClick(Window.get(), Qt::Key_F, Qt::AltModifier);
                else
                  QTest::mouseClick(Window->SpeedButton9, Qt::LeftButton);
              }),
              0);
    EXPECT_FALSE(Window->isVisible());
    Close();
  }
}

TEST_F(LauncherTest, DraggingTheWindowsOwnSurfaceMovesIt) {
  Open(TProgramKind::Recording);
  // The children cover the whole window; uncover part of its own surface.
  Window->Panel2->hide();
  const QPoint ownSurface(400, 100);
  ASSERT_TRUE(Window->WMNCHitTest(ownSurface));
  EXPECT_FALSE(Window->WMNCHitTest(QPoint(100, 100))) << "Panel1 answers for itself";

  auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(global - Window->pos()), QPointF(global),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
    QApplication::sendEvent(Window.get(), &event);
  };
  send(QEvent::MouseButtonPress, ownSurface, Qt::LeftButton);
  send(QEvent::MouseMove, ownSurface + QPoint(50, 30), Qt::LeftButton);
  send(QEvent::MouseButtonRelease, ownSurface + QPoint(50, 30), Qt::NoButton);
  EXPECT_EQ(Window->pos(), QPoint(50, 30));
  send(QEvent::MouseMove, ownSurface + QPoint(90, 90), Qt::NoButton);
  EXPECT_EQ(Window->pos(), QPoint(50, 30)) << "the drag ended with the release";

  // Pressing on a panel does not move the window.
  send(QEvent::MouseButtonPress, Window->pos() + QPoint(100, 100), Qt::LeftButton);
  send(QEvent::MouseMove, Window->pos() + QPoint(140, 140), Qt::LeftButton);
  EXPECT_EQ(Window->pos(), QPoint(50, 30));
}

}  // namespace
