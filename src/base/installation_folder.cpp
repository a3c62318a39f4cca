#include "base/installation_folder.h"

#include <QDir>

QString installationFolder() {
  const QString home = qEnvironmentVariable("VANTREL_HOME");
  if (!home.isEmpty()) return QDir::cleanPath(QDir(home).absolutePath());
  QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  if (xdg.isEmpty()) xdg = QDir::homePath() + QStringLiteral("/.local/share");
  return QDir::cleanPath(xdg + QStringLiteral("/vantrel"));
}
