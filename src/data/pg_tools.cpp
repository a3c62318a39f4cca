#include "data/pg_tools.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

int postgresMajor(const QString& text) {
  const QString trimmed = text.trimmed();
  bool number = false;
  const int versionNumber = trimmed.toInt(&number);
  if (number) return versionNumber >= 100000 ? versionNumber / 10000 : versionNumber / 100 / 100;
  static const QRegularExpression release(QStringLiteral("\\(PostgreSQL\\)\\s+(\\d+)"));
  const QRegularExpressionMatch match = release.match(trimmed);
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

std::optional<QString> findPostgresTool(const QString& tool, int serverMajor,
                                        const QString& libraryRoot, QString* why) {
  int newest = 0;
  QString newestPath;
  const QDir root(libraryRoot);
  for (const QString& folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool number = false;
    const int major = folder.toInt(&number);
    if (!number) continue;
    const QFileInfo program(root.filePath(folder + QStringLiteral("/bin/") + tool));
    if (!program.isFile() || !program.isExecutable()) continue;
    if (major > newest) {
      newest = major;
      newestPath = program.absoluteFilePath();
    }
  }
  if (newest >= serverMajor && !newestPath.isEmpty()) return newestPath;
  if (why)
    *why = newest == 0
               ? QStringLiteral("%1 não encontrado (servidor PostgreSQL %2)").arg(tool).arg(serverMajor)
               : QStringLiteral("%1 versão %2 é mais antigo que o servidor PostgreSQL %3")
                     .arg(tool)
                     .arg(newest)
                     .arg(serverMajor);
  return std::nullopt;
}

std::optional<QMap<QString, qint64>> dumpRowCounts(const QString& pgRestore, const QString& file) {
  QProcess restore;
  restore.start(pgRestore, {QStringLiteral("--data-only"), QStringLiteral("-f"),
                            QStringLiteral("-"), file});
  if (!restore.waitForStarted()) return std::nullopt;
  // The data come back as COPY blocks: a line per row between "COPY … FROM stdin;" and "\.".
  QMap<QString, qint64> counts;
  QString table;
  QByteArray pending;
  const auto takeLine = [&](const QByteArray& line) {
    if (table.isEmpty()) {
      if (line.startsWith("COPY ") && line.endsWith("FROM stdin;")) {
        QString name = QString::fromUtf8(line.mid(5, line.indexOf(' ', 5) - 5));
        name = name.section(QLatin1Char('.'), -1).remove(QLatin1Char('"'));
        table = name;
        counts.insert(table, 0);
      }
    } else if (line == "\\.") {
      table.clear();
    } else {
      ++counts[table];
    }
  };
  while (restore.state() != QProcess::NotRunning || restore.bytesAvailable() > 0) {
    restore.waitForReadyRead(1000);
    pending += restore.readAllStandardOutput();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
      takeLine(pending.left(end));
      pending.remove(0, end + 1);
    }
    if (restore.state() == QProcess::NotRunning && restore.bytesAvailable() == 0) break;
  }
  restore.waitForFinished(-1);
  if (restore.exitStatus() != QProcess::NormalExit || restore.exitCode() != 0) return std::nullopt;
  return counts;
}
