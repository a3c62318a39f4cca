#include "app/single_instance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLocalSocket>
#include <QWidget>

#include "data/data_source.h"

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      socket->write("ok");
      socket->flush();
      emit raiseRequested();
    }
  });
}

SingleInstance::~SingleInstance() {
  server_.close();
}

QString SingleInstance::serverName() {
  const QByteArray folder =
      QCryptographicHash::hash(installationFolder().toUtf8(), QCryptographicHash::Sha1).toHex();
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = QStringLiteral("user");
  return QStringLiteral("vantrel-%1-%2").arg(user, QString::fromLatin1(folder.left(16)));
}

bool SingleInstance::anotherIsRunning() {
  QLocalSocket socket;
  socket.connectToServer(serverName());
  if (!socket.waitForConnected(500)) return false;
  socket.waitForReadyRead(1000);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::listen() {
  if (server_.listen(serverName())) return true;
  // A copy that crashed leaves its socket behind; nobody answered on it, so take it over.
  QLocalServer::removeServer(serverName());
  return server_.listen(serverName());
}

void raiseActiveWindow() {
  QWidget* window = QApplication::activeModalWidget();
  if (!window) window = QApplication::activeWindow();
  if (!window) {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->isVisible()) window = top;
  }
  if (!window) return;
  window->raise();
  window->activateWindow();
}
