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

QString purgeBackupFileName(const QDateTime& at, int year) {
  return kBackupPrefix + at.toString(QStringLiteral("yyyyMMddHHmmss")) + QLatin1Char('-') +
         QString::number(year) + QStringLiteral(".bak");
}

std::optional<int> typedYear(const QString& text) {
  const QString typed = text.trimmed();
  bool number = false;
  const int value = typed.toInt(&number);
  if (!number || value < 0 || typed.size() > 4 || typed.size() == 3) return std::nullopt;
  if (typed.size() <= 2) {
    // Two digits fall in the hundred years that end this year, as the typed dates do.
    const int thisYear = QDate::currentDate().year();
    int year = thisYear / 100 * 100 + value;
    if (year > thisYear) year -= 100;
    return year;
  }
  return value;
}

bool purgeAllowed(int year, const QDate& today) {
  return year <= today.year() - 2;
}

QString partialBackupPath(const QString& finalPath) {
  return finalPath + QStringLiteral(".parcial");
}

QString restoreRefusal(const QMap<QString, qint64>& backup, const QMap<QString, qint64>& database) {
  const auto total = [](const QMap<QString, qint64>& counts) {
    qint64 rows = 0;
    for (qint64 n : counts) rows += n;
    return rows;
  };
  bool series = false;
  for (auto it = backup.cbegin(); it != backup.cend(); ++it)
    series = series || it.key().compare(QLatin1String("Treino"), Qt::CaseInsensitive) == 0;
  if (!series) return QStringLiteral("O backup não tem a tabela Treino");
  if (total(backup) == 0 && total(database) > 0)
    return QStringLiteral("O backup não tem nenhum registro");
  return QString();
}
