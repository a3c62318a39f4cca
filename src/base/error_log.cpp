#include "base/error_log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>

#include "base/installation_folder.h"

QString logFilePath() {
  return installationFolder() + QStringLiteral("/vantrel.log");
}

void appendToLog(const QString& message) {
  makeInstallationFolder();
  QFile file(logFilePath());
  const bool fresh = !file.exists();
  if (!file.open(QIODevice::Append | QIODevice::Text)) return;
  if (fresh) makePrivateFile(file.fileName());
  const QString stamp = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
  QString line = message;
  line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
  file.write((stamp + QStringLiteral(": ") + line + QLatin1Char('\n')).toUtf8());
}
