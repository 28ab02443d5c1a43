// The web page window: created hidden and loading, shown once, kept where the user put it.
#include "launcher_fixture.h"
#include "local_http_server.h"
#include "UntPagina.h"

#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWindow>

namespace {

// Returns once the page's renderer has answered, so whatever navigation a command started
// before has begun by then.
void RoundTripToRenderer(QWebEngineView* View) {
  bool answered = false;
  View->page()->runJavaScript("1", [&](const QVariant&) { answered = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, kWaitMs));
}

TEST(CompanyAddressTest, BareHostGetsTheSecureScheme) {
  EXPECT_EQ(CompanyAddress("www.brenlow.example"), QUrl("https://www.brenlow.example"));
}

TEST_F(LauncherTest, PageWindowLoadsHiddenAndShowsOnceWithoutReloading) {
  LocalHttpServer server;
  Open(TProgramKind::Recording, server.PageUrl());
  TFrmPagina* page = Window->FrmPagina;
  ASSERT_NE(page, nullptr);
  QSignalSpy loadStarted(page->WebBrowser1, &QWebEngineView::loadStarted);
  QSignalSpy loadFinished(page->WebBrowser1, &QWebEngineView::loadFinished);
  EXPECT_FALSE(page->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return loadFinished.count() == 1; }, kWaitMs));
  EXPECT_EQ(page->WebBrowser1->title(), LocalHttpServer::kTitle) << "loaded while hidden";
  EXPECT_EQ(loadStarted.count(), 1);
  EXPECT_EQ(server.PageRequests(), 1);

  EXPECT_EQ(page->windowTitle(), "FrmPagina");
  EXPECT_EQ(page->size(), QSize(906, 620));
  EXPECT_EQ(page->parentWidget(), Window.get()) << "owned by the main window";
  EXPECT_FALSE(page->testAttribute(Qt::WA_QuitOnClose));

  QTest::mouseClick(Window->BitBtn8, Qt::LeftButton);
  QTest::keyClick(Window.get(), Qt::Key_W, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(page, kWaitMs));
  QTest::qWait(0);
  EXPECT_EQ(page->windowHandle()->transientParent(), Window->windowHandle()) << "stays above";
  EXPECT_EQ(page->WebBrowser1->geometry(), page->rect()) << "the view fills the window";
  page->resize(700, 500);
  EXPECT_TRUE(QTest::qWaitFor([&] { return page->WebBrowser1->size() == QSize(700, 500); }, kWaitMs));

  int pageWindows = 0;
  for (const QWidget* widget : QApplication::topLevelWidgets())
    pageWindows += qobject_cast<const TFrmPagina*>(widget) != nullptr;
  EXPECT_EQ(pageWindows, 1);
  RoundTripToRenderer(page->WebBrowser1);
  EXPECT_EQ(loadStarted.count(), 1) << "showing does not reload";
  EXPECT_EQ(server.PageRequests(), 1);
}

TEST_F(LauncherTest, PageWindowIsCentredFirstAndThenKeepsItsPlace) {
  Open(TProgramKind::Recording);
  TFrmPagina* page = Window->FrmPagina;
  Window->BitBtn8Click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(page, kWaitMs));
  const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
  const QSize outer = page->frameGeometry().size();
  const QPoint centred(std::max(0, (workArea.width() - outer.width()) / 2),
                       std::max(0, (workArea.height() - outer.height()) / 2));
  EXPECT_EQ(page->frameGeometry().topLeft(), centred);

  const QPoint moved = centred + QPoint(-37, 23);
  page->move(moved);
  page->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !page->isVisible(); }, kWaitMs));
  EXPECT_TRUE(Window->isVisible()) << "closing the page window only hides it";
  Window->BitBtn8Click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(page, kWaitMs));
  EXPECT_EQ(page->frameGeometry().topLeft(), moved);
}

TEST_F(LauncherTest, UnreachableSiteShowsTheViewsFailurePageAndCommandsStillWork) {
  Open(TProgramKind::Recording, ClosedLocalUrl());
  TFrmPagina* page = Window->FrmPagina;
  QSignalSpy loadFinished(page->WebBrowser1, &QWebEngineView::loadFinished);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !loadFinished.isEmpty(); }, kWaitMs));
  EXPECT_FALSE(loadFinished.first().first().toBool());
  // An accelerator clicks its button a moment later, as a visible press.
  QTest::keyClick(Window.get(), Qt::Key_W, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return page->isVisible(); }, kWaitMs));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(page, kWaitMs));
  EXPECT_EQ(QApplication::topLevelWidgets().size(), 2) << "no message box of our own";

  ReturnToMainWindow();
  QTest::keyClick(Window.get(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Records("Ardeval.exe").size() == 1; }, kWaitMs));
}

}  // namespace
