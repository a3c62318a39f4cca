#include "base/installation_folder.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

QString installationFolder() {
  const QString home = qEnvironmentVariable("VANTREL_HOME");
  if (!home.isEmpty()) return QDir::cleanPath(QDir(home).absolutePath());
  QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  if (xdg.isEmpty()) xdg = QDir::homePath() + QStringLiteral("/.local/share");
  return QDir::cleanPath(xdg + QStringLiteral("/vantrel"));
}

bool makeInstallationFolder() {
  return makePrivateFolder(installationFolder());
}

bool makePrivateFolder(const QString& path) {
  if (!QDir().mkpath(path)) return false;
  // A shared folder (one with the sticky bit, like /tmp) or somebody else's is never closed.
  struct stat info;
  if (::stat(QFile::encodeName(path).constData(), &info) != 0 || (info.st_mode & S_ISVTX) ||
      info.st_uid != ::getuid())
    return true;
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return true;
}

void makePrivateFile(const QString& path) {
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
