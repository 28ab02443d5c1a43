#include "UntPagina.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <algorithm>

namespace {
constexpr QSize kClientSize(906, 620);  // pixels at 96 dpi; Qt scales for denser screens
constexpr int kFontPixelSize = 11;
}  // namespace

QUrl CompanyAddress(const QString& BareHost) {
  return QUrl(QStringLiteral("https://") + BareHost);
}

TFrmPagina::TFrmPagina(QWidget* Owner, const QUrl& Address)
    : QWidget(Owner, Qt::Window), WebBrowser1(new QWebEngineView(this)) {
  setObjectName("FrmPagina");
  setWindowTitle("FrmPagina");
  // Closing only hides the window; it must not keep the application running either.
  setAttribute(Qt::WA_QuitOnClose, false);
  QFont font("MS Sans Serif");
  font.setPixelSize(kFontPixelSize);
  setFont(font);
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  setAutoFillBackground(true);
  resize(kClientSize);

  WebBrowser1->setObjectName("WebBrowser1");
  auto* fill = new QVBoxLayout(this);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(WebBrowser1);
  FormCreate(Address);
}

void TFrmPagina::FormCreate(const QUrl& Address) { WebBrowser1->load(Address); }

void TFrmPagina::ShowPage() {
  show();
  raise();
  activateWindow();
}

void TFrmPagina::showEvent(QShowEvent* Event) {
  if (!FPlaced) {
    PlaceForFirstShow();
    FPlaced = true;
  }
  QWidget::showEvent(Event);
}

// Centred in the primary screen's work area by its size alone, halves truncated, and kept off
// the left and top of the desktop.
void TFrmPagina::PlaceForFirstShow() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect workArea = screen->availableGeometry();
  const QRect desktop = screen->virtualGeometry();
  const QSize outer = frameGeometry().size();
  const int left = (workArea.width() - outer.width()) / 2;
  const int top = (workArea.height() - outer.height()) / 2;
  move(std::max(left, desktop.left()), std::max(top, desktop.top()));
}
