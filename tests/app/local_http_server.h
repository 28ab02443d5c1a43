// A tiny HTTP server on 127.0.0.1 for the web view tests: it serves one page at "/" and counts
// the requests for it.
#pragma once

#include <QTcpServer>
#include <QUrl>

class LocalHttpServer : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Brenlow test page";

  LocalHttpServer();
  QUrl PageUrl() const;
  int PageRequests() const { return FPageRequests; }

 private:
  void Answer(QTcpSocket* Socket);

  QTcpServer FServer;
  int FPageRequests = 0;
};

// An address on 127.0.0.1 where nothing listens: the port of a server that has just closed.
QUrl ClosedLocalUrl();
