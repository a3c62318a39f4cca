#include "base/installation_folder.h"

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
  const QString folder = installationFolder();
  if (!QDir().mkpath(folder)) return false;
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return true;
}

void makePrivateFile(const QString& path) {
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
