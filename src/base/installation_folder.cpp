#include "base/installation_folder.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

namespace {

// Takes the group's and the others' permissions away and leaves the owner's as the owner set
// them: a folder its owner made read-only stays read-only.
void closeToOthers(const QString& path, mode_t mode) {
  const mode_t closed = mode & ~mode_t(S_IRWXG | S_IRWXO);
  if (closed != mode) ::chmod(QFile::encodeName(path).constData(), closed & 07777);
}

}  // namespace

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
  closeToOthers(path, info.st_mode);
  return true;
}

void makePrivateFile(const QString& path) {
  struct stat info;
  if (::stat(QFile::encodeName(path).constData(), &info) == 0) closeToOthers(path, info.st_mode);
}
