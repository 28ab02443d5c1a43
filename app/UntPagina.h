// The web page window: the company site in an embedded web view. It is created hidden and starts
// loading at once, so that the page is ready when the user first asks for it.
#pragma once

#include <QUrl>
#include <QWidget>

class QWebEngineView;

// The address the window loads, from the bare host name fixed at build time: the web view would
// complete it with "http://", which sends the request in clear text, so it gets "https://".
QUrl CompanyAddress(const QString& BareHost);

class TFrmPagina : public QWidget {
  Q_OBJECT

 public:
  // Owner: the main window; the page window stays above it and has no task-bar entry of its own.
  TFrmPagina(QWidget* Owner, const QUrl& Address);

  // Shows the window without making it modal, or brings it to the front when it is shown
  // already. The page is never reloaded.
  void ShowPage();

  QWebEngineView* const WebBrowser1;

 protected:
  void showEvent(QShowEvent* Event) override;

 private:
  void FormCreate(const QUrl& Address);
  void PlaceForFirstShow();

  bool FPlaced = false;
};
