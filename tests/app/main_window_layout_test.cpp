// The main window's layout: geometry, colours, fonts, captions, the hidden map controls, stacking
// and tab order.
#include "launcher_fixture.h"

#include "JpegCodec.h"
#include "KVL_geomap.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

namespace {

QColor WindowColour(const QWidget* Widget) { return Widget->palette().color(QPalette::Window); }

TEST_F(LauncherTest, WindowIsBorderlessFixedAndMoneyGreen) {
  Open(TProgramKind::Recording);
  EXPECT_EQ(Window->objectName(), "FrmVelmo");
  EXPECT_EQ(Window->windowTitle(), "Velmo");
  EXPECT_TRUE(Window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(Window->geometry(), QRect(0, 0, 645, 373));
  EXPECT_EQ(Window->minimumSize(), Window->maximumSize()) << "not resizable";
  EXPECT_EQ(WindowColour(Window.get()), QColor(0xC0, 0xDC, 0xC0));
  EXPECT_TRUE(Window->autoFillBackground());
  EXPECT_EQ(Window->font().family(), "Tahoma");
  EXPECT_EQ(Window->font().pixelSize(), 11);
  // The window as shown: its own background where a child leaves it exposed.
  Window->Panel2->hide();
  EXPECT_EQ(Window->grab().toImage().pixelColor(400, 100), QColor(0xC0, 0xDC, 0xC0));
}

TEST_F(LauncherTest, StatusBarPanelsAndPicture) {
  Open(TProgramKind::Recording);
  QStatusBar* bar = Window->SbContabilidad;
  EXPECT_EQ(bar->objectName(), "SbContabilidad");
  EXPECT_EQ(bar->geometry(), QRect(0, 353, 645, 20));
  EXPECT_FALSE(bar->isSizeGripEnabled());
  EXPECT_EQ(WindowColour(bar), Window->palette().color(QPalette::Button));
  const QList<QLabel*> panels = bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(panels.size(), 3);
  const int widths[] = {150, 200, 50};
  const QString texts[] = {"Brenlow Software S.A.S.", "", ""};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(panels[i]->width(), widths[i]) << i;
    EXPECT_EQ(panels[i]->text(), texts[i]) << i;
  }
  EXPECT_LT(panels[0]->x(), panels[1]->x());
  EXPECT_LT(panels[1]->x(), panels[2]->x());

  EXPECT_EQ(Window->Panel1->geometry(), QRect(0, 0, 256, 353));
  EXPECT_EQ(Window->Panel2->geometry(), QRect(256, 0, 389, 353));
  for (QFrame* panel : {Window->Panel1, Window->Panel2}) {
    EXPECT_EQ(panel->frameStyle(), QFrame::Panel | QFrame::Raised);
    EXPECT_EQ(panel->lineWidth(), 1);
    EXPECT_TRUE(panel->autoFillBackground());
  }
  EXPECT_EQ(WindowColour(Window->Panel1), QColor(0xA6, 0xCA, 0xF0));
  EXPECT_EQ(WindowColour(Window->Panel2), Window->palette().color(QPalette::Button));

  EXPECT_EQ(Window->Image3->parentWidget(), Window->Panel2);
  EXPECT_EQ(Window->Image3->geometry(), QRect(1, 1, 387, 351));
  EXPECT_TRUE(Window->Image3->hasScaledContents());
  EXPECT_EQ(Window->Image3->pixmap().size(), QSize(927, 569));
}

TEST_F(LauncherTest, ChildrenInCreationOrder) {
  Open(TProgramKind::Recording);
  QStringList names;
  for (const QWidget* child : Window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!child->isWindow()) names << child->objectName();
  EXPECT_EQ(names.join(' ').toStdString(), "SbContabilidad GeoMap1 GeoMap2 Panel1 Panel2");
}

TEST_F(LauncherTest, MapControlsHaveZeroHeightAndTheLayoutValues) {
  Open(TProgramKind::Recording);
  const struct {
    TGeoMap* Map;
    const char* Name;
    QRect Geometry;
  } maps[] = {{Window->GeoMap1, "GeoMap1", QRect(376, 280, 500, 0)},
              {Window->GeoMap2, "GeoMap2", QRect(88, 328, 500, 0)}};
  for (const auto& m : maps) {
    SCOPED_TRACE(m.Name);
    ASSERT_NE(m.Map, nullptr);
    EXPECT_EQ(m.Map->parentWidget(), Window.get());
    EXPECT_EQ(m.Map->objectName(), m.Name);
    EXPECT_EQ(m.Map->geometry(), m.Geometry);
    EXPECT_TRUE(m.Map->AllowPan());
    EXPECT_TRUE(m.Map->AntiAlias());
    EXPECT_EQ(m.Map->CalibModel(), cmUndefined);
    EXPECT_EQ(m.Map->CacheMagLimit(), 2.0 / 3.0);
    EXPECT_EQ(m.Map->ColorBackGnd(), 0x00C0C0C0u);
    EXPECT_EQ(m.Map->ColorGraticule(), 0x00FF0000u);
    EXPECT_EQ(m.Map->ColorCalibPoints(), 0x000000FFu);
    EXPECT_EQ(m.Map->ColorFrame(), 0x00000000u);
    EXPECT_TRUE(m.Map->ConfinePanToMapImage());
    EXPECT_EQ(m.Map->EmptyMsg(), "GeoMap: empty");
    EXPECT_EQ(m.Map->FrameStyle(), fsSimple);
    EXPECT_EQ(m.Map->UTMGridDist(), 0);
    EXPECT_EQ(m.Map->UTMZone(), 0);
    EXPECT_EQ(m.Map->UTMHemisphere(), hemiNorth);
    EXPECT_EQ(m.Map->MouseAction(), maPan);
    EXPECT_EQ(m.Map->ShowGraticule(), sgNone);
    EXPECT_FALSE(m.Map->OnBeginRubberBand || m.Map->OnContinueRubberBand ||
                 m.Map->OnEndRubberBand || m.Map->OnDataLoading || m.Map->OnDataRendered ||
                 m.Map->OnBeforeRenderData || m.Map->OnDrawLandmark || m.Map->OnMapImageRequest ||
                 m.Map->OnLandMarkAction || m.Map->OnZoomPan)
        << "no event handler is attached";
  }
}

TEST(LauncherArtwork, IsAProgressiveJfifOf927By569At96Dpi) {
  QFile file(":/velmo/velmo_artwork.jpg");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray data = file.readAll();
  EXPECT_TRUE(data.startsWith(QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\0", 11)));
  EXPECT_TRUE(data.contains(QByteArray("\xFF\xC2", 2))) << "progressive frame";
  const QImage picture = DecodeJpeg(data);
  EXPECT_EQ(picture.size(), QSize(927, 569));
  EXPECT_EQ(picture.dotsPerMeterX(), 3780);  // 96 dpi
  EXPECT_EQ(picture.dotsPerMeterY(), 3780);
}

struct TExpectedButton {
  const char* Name;
  QString Caption;
  QRect Geometry;
  QColor FontColour;
};

TEST_F(LauncherTest, ButtonsInCreationOrderWithCaptionsGeometryAndFonts) {
  Open(TProgramKind::Recording);
  const QColor red(255, 0, 0), blue(0, 0, 255);
  const QColor windowText = QApplication::palette().color(QPalette::ButtonText);
  // Creation order is stacking order: where two buttons share a row, the later lies on top.
  const TExpectedButton expected[] = {
      {"SpeedButton9", "&Finalizar", QRect(15, 298, 226, 44), windowText},
      {"BitBtn1", "&Contabilidad", QRect(7, 9, 246, 35), red},
      {"BitBtn2", "&Nomina", QRect(7, 218, 246, 35), red},
      {"BitBtn3", "A&lmacen", QRect(7, 183, 246, 35), red},
      {"BitBtn4", "&Pos", QRect(7, 43, 246, 35), red},
      {"BitBtn5", "&Administracion Vehiculos", QRect(7, 79, 246, 35), red},
      {"BitBtn6", "&Gestion Carga", QRect(7, 115, 246, 35), red},
      {"BitBtn7", "G&estion Pasajeros", QRect(7, 149, 246, 35), red},
      {"BitBtn8", "Pagina &Web", QRect(7, 255, 246, 35), blue},
  };
  const QList<QAbstractButton*> buttons =
      Window->Panel1->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(buttons.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const TExpectedButton& e = expected[i];
    QAbstractButton* button = buttons[int(i)];
    SCOPED_TRACE(e.Name);
    EXPECT_EQ(button->objectName(), e.Name);
    EXPECT_EQ(button->text(), e.Caption);
    EXPECT_EQ(button->geometry(), e.Geometry);
    EXPECT_EQ(button->palette().color(QPalette::ButtonText), e.FontColour);
    EXPECT_EQ(button->font().family(), "Tahoma");
    EXPECT_EQ(button->font().pixelSize(), 13);
    EXPECT_TRUE(button->font().bold());
  }
  EXPECT_EQ(Window->SpeedButton9->focusPolicy(), Qt::NoFocus);
  // The shared rows show the later button: Pos over Contabilidad, Gestion Pasajeros over both
  // of its neighbours.
  EXPECT_EQ(Window->Panel1->childAt(100, 43), Window->BitBtn4);
  EXPECT_EQ(Window->Panel1->childAt(100, 149), Window->BitBtn7);
  EXPECT_EQ(Window->Panel1->childAt(100, 183), Window->BitBtn7);
}

TEST_F(LauncherTest, TabVisitsTheStartButtonsInTheirOwnOrder) {
  Open(TProgramKind::Recording);
  Window->BitBtn8->setFocus();
  const QWidget* expected[] = {Window->BitBtn1, Window->BitBtn2, Window->BitBtn3, Window->BitBtn4,
                               Window->BitBtn5, Window->BitBtn6, Window->BitBtn7, Window->BitBtn8};
  for (const QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
}

}  // namespace
