#include "maintenance/pg_tools.h"

#include <QDir>
#include <QFileInfo>
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
