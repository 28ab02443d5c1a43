#include "local_http_server.h"

#include <QTcpSocket>

LocalHttpServer::LocalHttpServer() {
  FServer.listen(QHostAddress::LocalHost);
  connect(&FServer, &QTcpServer::newConnection, this, [this] {
    while (QTcpSocket* socket = FServer.nextPendingConnection()) {
      connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
      connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

QUrl LocalHttpServer::PageUrl() const {
  return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(FServer.serverPort()));
}

void LocalHttpServer::Answer(QTcpSocket* Socket) {
  // The request line and headers arrive together for a small GET; the body is empty.
  if (!Socket->canReadLine()) return;
  const QList<QByteArray> requestLine = Socket->readLine().split(' ');
  Socket->readAll();
  const bool page = requestLine.size() >= 2 && requestLine[1] == "/";
  const QByteArray body = page ? QByteArray("<html><head><title>") + kTitle +
                                     "</title></head><body>Brenlow</body></html>"
                               : QByteArray("not found");
  FPageRequests += page;
  Socket->write((page ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                QByteArray("Content-Type: text/html\r\nConnection: close\r\nContent-Length: ") +
                QByteArray::number(body.size()) + "\r\n\r\n" + body);
  Socket->disconnectFromHost();
}

QUrl ClosedLocalUrl() {
  QTcpServer server;
  server.listen(QHostAddress::LocalHost);
  return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort()));
}
