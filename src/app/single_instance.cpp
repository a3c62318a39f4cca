#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLocalSocket>
#include <QWidget>

#include "base/error_log.h"
#include "base/installation_folder.h"

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

namespace {

// A folder only this user can enter: nobody else can put a socket there first.
bool isPrivateFolder(const QString& path) {
  struct stat info;
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

// The user's runtime folder, else a folder of the user's own under /tmp (made 0700), else
// the installation folder.
QString socketFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && isPrivateFolder(runtime)) return runtime;
  const QString own = QStringLiteral("/tmp/vantrel-%1").arg(::getuid());
  ::mkdir(QFile::encodeName(own).constData(), 0700);
  if (isPrivateFolder(own)) return own;
  return installationFolder();
}

// Only a copy run by this same user is believed.
bool peerIsThisUser(const QLocalSocket& socket) {
  struct ucred peer {};
  socklen_t size = sizeof peer;
  return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == ::getuid();
}

}  // namespace

QString SingleInstance::serverName() {
  const QByteArray folder =
      QCryptographicHash::hash(installationFolder().toUtf8(), QCryptographicHash::Sha1).toHex();
  return QStringLiteral("%1/vantrel-%2").arg(socketFolder(), QString::fromLatin1(folder.left(16)));
}

bool SingleInstance::anotherIsRunning() {
  QLocalSocket socket;
  socket.connectToServer(serverName());
  if (!socket.waitForConnected(500)) return false;
  if (!peerIsThisUser(socket)) {
    appendToLog(QStringLiteral("Outro usuário escuta em %1: ignorado").arg(serverName()));
    socket.abort();
    return false;
  }
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
