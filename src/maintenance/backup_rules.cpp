#include "maintenance/backup_rules.h"

namespace {

constexpr int kStampLength = 18;  // "YYYYMMDDHHMMSS" and ".bak"

}  // namespace

QString backupFileName(const QDateTime& at) {
  return kBackupPrefix + at.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(".bak");
}

bool restorableName(const QString& path) {
  const QString upper = path.toUpper();
  if (!upper.endsWith(QStringLiteral("BAK"))) return false;
  return upper.right(kBackupPrefix.size() + kStampLength).startsWith(kBackupPrefix.toUpper());
}

bool removedByCleanup(const QString& fileName, const QDate& today) {
  if (fileName.size() != kBackupPrefix.size() + kStampLength) return false;
  if (!fileName.startsWith(kBackupPrefix) || !fileName.endsWith(QStringLiteral(".bak")))
    return false;
  bool number = false;
  const int day = fileName.mid(kBackupPrefix.size(), 8).toInt(&number);
  if (!number) return false;
  const int cutOff = today.addDays(-15).toString(QStringLiteral("yyyyMMdd")).toInt();
  return day <= cutOff;
}

QStringList scratchTables(const QStringList& tables) {
  QStringList scratch;
  for (const QString& table : tables)
    if (table.toUpper().startsWith(QStringLiteral("TEMP"))) scratch << table;
  return scratch;
}
