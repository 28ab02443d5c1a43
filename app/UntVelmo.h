// The launcher's main window: a borderless window with the suite's command buttons on the left
// and the company picture on the right. Seven buttons start programs of the suite, one shows the
// web page window, one ends the launcher.
#pragma once

#include <QUrl>
#include <QWidget>

#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class QToolButton;
class TFrmPagina;
class TGeoMap;

// The directory the suite is installed in. It is fixed: the launcher offers no way to change it.
#ifdef _WIN32
inline const QString kSuiteDirectory = QStringLiteral("C:\\velmo\\");
#else
inline const QString kSuiteDirectory = QStringLiteral("/opt/velmo/");
#endif

class TFrmVelmo : public QWidget {
  Q_OBJECT

 public:
  // ProgramDirectory: where the suite's programs lie, ending with a separator (kSuiteDirectory in
  // the product). PageAddress: what the web page window loads.
  TFrmVelmo(const QString& ProgramDirectory, const QUrl& PageAddress);

  // The hit test of the window system: true where the point (window pixels) lies on the
  // window's own surface, which stands in for the missing title bar.
  bool WMNCHitTest(const QPoint& Position) const;

  void BitBtn1Click();
  void BitBtn2Click();
  void BitBtn3Click();
  void BitBtn4Click();
  void BitBtn5Click();
  void BitBtn6Click();
  void BitBtn7Click();
  void BitBtn8Click();
  void SpeedButton9Click();

  // The window's elements, named as in its layout; created in the constructor, owned by Qt.
  QStatusBar* SbContabilidad = nullptr;
  TGeoMap* GeoMap1 = nullptr;  // zero height: never seen, no command uses them
  TGeoMap* GeoMap2 = nullptr;
  QFrame* Panel1 = nullptr;
  QFrame* Panel2 = nullptr;
  QLabel* Image3 = nullptr;
  QToolButton* SpeedButton9 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QPushButton* BitBtn4 = nullptr;
  QPushButton* BitBtn5 = nullptr;
  QPushButton* BitBtn6 = nullptr;
  QPushButton* BitBtn7 = nullptr;
  QPushButton* BitBtn8 = nullptr;
  TFrmPagina* FrmPagina = nullptr;

 protected:
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  void CreateStatusBar();
  TGeoMap* CreateGeoMap(const char* Name, const QRect& Geometry);
  void CreatePanel1();
  void CreatePanel2();
  void StartSuiteProgram(const QString& FileName);

  QString FProgramDirectory;
  std::optional<QPoint> FDragOffset;  // pointer minus window position while dragged by hand
};
