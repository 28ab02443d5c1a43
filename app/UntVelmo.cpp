#include "UntVelmo.h"

#include "ColorConversion.h"
#include "JpegCodec.h"
#include "KVL_canvas.h"
#include "KVL_geomap.h"
#include "ProgramStarter.h"
#include "UntPagina.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QWindow>

#include <array>

// ---- the stored layout (pixels at 96 dpi; Qt scales it for denser screens) ---------------------

namespace {

constexpr QSize kClientSize(645, 373);
constexpr TColor kMoneyGreen = 0x00C0DCC0;
constexpr TColor kSkyBlue = 0x00F0CAA6;
constexpr TColor kRed = 0x000000FF;
constexpr TColor kBlue = 0x00FF0000;
constexpr int kWindowFontPixels = 11;  // 8 points
constexpr int kButtonFontPixels = 13;  // 10 points
const char* const kFontName = "Tahoma";

constexpr QRect kStatusBarGeometry(0, 353, 645, 20);
constexpr std::array kStatusPanelWidths{150, 200, 50};
const char* const kCompanyName = "Brenlow Software S.A.S.";
// The two map controls, laid out with zero height; both carry the same property values.
constexpr QRect kGeoMap1Geometry(376, 280, 500, 0);
constexpr QRect kGeoMap2Geometry(88, 328, 500, 0);
constexpr double kMapCacheMagLimit = 0.6666666666666666;
constexpr TColor kSilver = 0x00C0C0C0;
constexpr TColor kBlack = 0x00000000;
const char* const kMapEmptyMsg = "GeoMap: empty";
// Geometry, bevel width and colour of the two panels and of the picture on Panel2.
constexpr QRect kPanel1Geometry(0, 0, 256, 353);
constexpr QRect kPanel2Geometry(256, 0, 389, 353);
constexpr QRect kImage3Geometry(1, 1, 387, 351);
constexpr int kBevelWidth = 1;
const char* const kArtwork = ":/velmo/velmo_artwork.jpg";
// The argument every suite program is started with: the launcher's name.
const char* const kLauncherName = "Velmo";

struct TButtonLayout {
  QPushButton* TFrmVelmo::*Field;
  const char* Name;
  const char* Caption;
  int Top;
  TColor FontColor;
  void (TFrmVelmo::*Click)();
};
constexpr int kButtonLeft = 7;
constexpr QSize kButtonSize(246, 35);

// In creation order, which is also the stacking order and the tab order.
const TButtonLayout kButtons[] = {
    {&TFrmVelmo::BitBtn1, "BitBtn1", "&Contabilidad", 9, kRed, &TFrmVelmo::BitBtn1Click},
    {&TFrmVelmo::BitBtn2, "BitBtn2", "&Nomina", 218, kRed, &TFrmVelmo::BitBtn2Click},
    {&TFrmVelmo::BitBtn3, "BitBtn3", "A&lmacen", 183, kRed, &TFrmVelmo::BitBtn3Click},
    {&TFrmVelmo::BitBtn4, "BitBtn4", "&Pos", 43, kRed, &TFrmVelmo::BitBtn4Click},
    {&TFrmVelmo::BitBtn5, "BitBtn5", "&Administracion Vehiculos", 79, kRed, &TFrmVelmo::BitBtn5Click},
    {&TFrmVelmo::BitBtn6, "BitBtn6", "&Gestion Carga", 115, kRed, &TFrmVelmo::BitBtn6Click},
    {&TFrmVelmo::BitBtn7, "BitBtn7", "G&estion Pasajeros", 149, kRed, &TFrmVelmo::BitBtn7Click},
    {&TFrmVelmo::BitBtn8, "BitBtn8", "Pagina &Web", 255, kBlue, &TFrmVelmo::BitBtn8Click},
};
constexpr QRect kSpeedButton9Geometry(15, 298, 226, 44);

QFont LayoutFont(int PixelSize, bool Bold) {
  QFont font(kFontName);
  font.setPixelSize(PixelSize);
  font.setBold(Bold);
  return font;
}

// Fills the widget with Color itself, whatever the style would paint.
void PaintBackground(QWidget* Widget, const QColor& Color) {
  QPalette palette = Widget->palette();
  palette.setColor(QPalette::Window, Color);
  Widget->setPalette(palette);
  Widget->setAutoFillBackground(true);
}

QFrame* RaisedPanel(QWidget* Parent, const char* Name, const QRect& Geometry) {
  auto* panel = new QFrame(Parent);
  panel->setObjectName(Name);
  panel->setGeometry(Geometry);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(kBevelWidth);
  return panel;
}

}  // namespace

// ---- the window --------------------------------------------------------------------------------

TFrmVelmo::TFrmVelmo(const QString& ProgramDirectory, const QUrl& PageAddress)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), FProgramDirectory(ProgramDirectory) {
  setObjectName("FrmVelmo");
  setWindowTitle("Velmo");
  setFixedSize(kClientSize);
  move(0, 0);
  PaintBackground(this, ToQColor(kMoneyGreen));
  setFont(LayoutFont(kWindowFontPixels, false));

  // Children in creation order; later ones lie above earlier ones.
  CreateStatusBar();
  GeoMap1 = CreateGeoMap("GeoMap1", kGeoMap1Geometry);
  GeoMap2 = CreateGeoMap("GeoMap2", kGeoMap2Geometry);
  CreatePanel1();
  CreatePanel2();

  FrmPagina = new TFrmPagina(this, PageAddress);
}

void TFrmVelmo::CreateStatusBar() {
  SbContabilidad = new QStatusBar(this);
  SbContabilidad->setObjectName("SbContabilidad");
  SbContabilidad->setGeometry(kStatusBarGeometry);
  SbContabilidad->setSizeGripEnabled(false);
  PaintBackground(SbContabilidad, palette().color(QPalette::Button));
  for (size_t i = 0; i < kStatusPanelWidths.size(); ++i) {
    auto* panel = new QLabel(i == 0 ? kCompanyName : "", SbContabilidad);
    panel->setFixedWidth(kStatusPanelWidths[i]);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SbContabilidad->addWidget(panel);
  }
}

TGeoMap* TFrmVelmo::CreateGeoMap(const char* Name, const QRect& Geometry) {
  auto* map = new TGeoMap(this);
  map->setObjectName(Name);
  // Applied as a loaded layout is: through the setters, with no view entering the zoom history.
  map->BeginLayoutLoad();
  map->setGeometry(Geometry);
  map->SetAllowPan(true);
  map->SetAntiAlias(true);
  map->SetCalibModel(cmUndefined);
  map->SetCacheMagLimit(kMapCacheMagLimit);
  map->SetColorBackGnd(kSilver);
  map->SetColorGraticule(kBlue);
  map->SetColorCalibPoints(kRed);
  map->SetColorFrame(kBlack);
  map->SetConfinePanToMapImage(true);
  map->SetEmptyMsg(kMapEmptyMsg);
  map->SetFrameStyle(fsSimple);
  map->SetUTMGridDist(0);
  map->SetUTMZone(0);
  map->SetUTMHemisphere(hemiNorth);
  map->SetMouseAction(maPan);
  map->SetShowGraticule(sgNone);
  map->EndLayoutLoad();
  return map;
}

void TFrmVelmo::CreatePanel1() {
  Panel1 = RaisedPanel(this, "Panel1", kPanel1Geometry);
  PaintBackground(Panel1, ToQColor(kSkyBlue));
  const QFont buttonFont = LayoutFont(kButtonFontPixels, true);

  // A speed button: pressed by mouse or accelerator, never focused.
  SpeedButton9 = new QToolButton(Panel1);
  SpeedButton9->setObjectName("SpeedButton9");
  SpeedButton9->setText("&Finalizar");
  SpeedButton9->setGeometry(kSpeedButton9Geometry);
  SpeedButton9->setFont(buttonFont);
  SpeedButton9->setFocusPolicy(Qt::NoFocus);
  connect(SpeedButton9, &QToolButton::clicked, this, &TFrmVelmo::SpeedButton9Click);

  for (const TButtonLayout& layout : kButtons) {
    auto* button = new QPushButton(layout.Caption, Panel1);
    button->setObjectName(layout.Name);
    button->setGeometry(QRect(QPoint(kButtonLeft, layout.Top), kButtonSize));
    button->setFont(buttonFont);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, ToQColor(layout.FontColor));
    button->setPalette(palette);
    connect(button, &QPushButton::clicked, this, layout.Click);
    this->*layout.Field = button;
  }
}

void TFrmVelmo::CreatePanel2() {
  Panel2 = RaisedPanel(this, "Panel2", kPanel2Geometry);
  PaintBackground(Panel2, palette().color(QPalette::Button));
  Image3 = new QLabel(Panel2);
  Image3->setObjectName("Image3");
  Image3->setGeometry(kImage3Geometry);
  Image3->setScaledContents(true);  // stretched both ways, the aspect ratio is not kept
  QFile artwork(kArtwork);
  try {
    if (artwork.open(QIODevice::ReadOnly))
      Image3->setPixmap(QPixmap::fromImage(DecodeJpeg(artwork.readAll())));
  } catch (const EJpegError&) {
    // A picture that cannot be read leaves the panel plain; the commands matter more.
  }
}

// ---- commands ----------------------------------------------------------------------------------

void TFrmVelmo::StartSuiteProgram(const QString& FileName) {
  // Failures are not reported: the launcher stays as it was.
  StartProgram(winId(), FProgramDirectory + FileName, kLauncherName);
}

void TFrmVelmo::BitBtn1Click() { StartSuiteProgram("Ardeval.exe"); }
void TFrmVelmo::BitBtn2Click() { StartSuiteProgram("Pelquin.exe"); }
void TFrmVelmo::BitBtn3Click() { StartSuiteProgram("Storvik.exe"); }
void TFrmVelmo::BitBtn4Click() { StartSuiteProgram("Tallomar.exe"); }
void TFrmVelmo::BitBtn5Click() { StartSuiteProgram("Rodanel.exe"); }
void TFrmVelmo::BitBtn6Click() { StartSuiteProgram("Cargoven.exe"); }
void TFrmVelmo::BitBtn7Click() { StartSuiteProgram("Bilmaro.exe"); }
void TFrmVelmo::BitBtn8Click() { FrmPagina->ShowPage(); }
void TFrmVelmo::SpeedButton9Click() { close(); }

// ---- moving the window by its own surface ------------------------------------------------------

bool TFrmVelmo::WMNCHitTest(const QPoint& Position) const {
  return rect().contains(Position) && childAt(Position) == nullptr;
}

void TFrmVelmo::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || !WMNCHitTest(Event->position().toPoint())) {
    QWidget::mousePressEvent(Event);
    return;
  }
  // The window system moves the window as by a title bar where it can; elsewhere (no window
  // manager) the window follows the pointer by hand.
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  FDragOffset = Event->globalPosition().toPoint() - pos();
}

void TFrmVelmo::mouseMoveEvent(QMouseEvent* Event) {
  if (FDragOffset && (Event->buttons() & Qt::LeftButton))
    move(Event->globalPosition().toPoint() - *FDragOffset);
  else
    QWidget::mouseMoveEvent(Event);
}

void TFrmVelmo::mouseReleaseEvent(QMouseEvent* Event) {
  FDragOffset.reset();
  QWidget::mouseReleaseEvent(Event);
}
