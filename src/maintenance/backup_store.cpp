#include "maintenance/backup_store.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlQuery>

#include "data/connection.h"
#include "data/sql.h"
#include "maintenance/backup_rules.h"

QMap<QString, qint64> sqliteRowCounts(const QSqlDatabase& db) {
  QStringList tables;
  QSqlQuery list = runSql(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                             "AND name NOT LIKE 'sqlite_%' ORDER BY name"));
  while (list.next()) tables << list.value(0).toString();
  QMap<QString, qint64> counts;
  for (const QString& table : tables)
    counts.insert(table, scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM \"%1\"")
                                           .arg(QString(table).replace(QLatin1Char('"'),
                                                                       QStringLiteral("\"\""))))
                             .toLongLong());
  return counts;
}

std::optional<QString> backupSqlite(const QSqlDatabase& db, const QString& folder,
                                    const QDateTime& at, QString* why) {
  const auto fail = [&](const QString& reason) -> std::optional<QString> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (!QDir().mkpath(folder)) return fail(QStringLiteral("Pasta de backup não pôde ser criada"));
  const QString file = QDir(folder).filePath(backupFileName(at));
  if (QFile::exists(file)) return fail(QStringLiteral("Já existe um backup com este nome"));
  QMap<QString, qint64> original;
  try {
    original = sqliteRowCounts(db);
    // A consistent copy of the whole database, taken while others may keep working.
    runSql(db, QStringLiteral("VACUUM INTO ?"), {file});
  } catch (const SqlError& e) {
    QFile::remove(file);
    return fail(e.text());
  }
  LinkSpec spec;
  spec.provider = Provider::SQLite;
  spec.dataSource = file;
  bool same = false;
  QString reason;
  {
    Connection copy(spec, Connection::uniqueName(QStringLiteral("backup-verifica")));
    if (copy.open()) {
      try {
        same = sqliteRowCounts(copy.database()) == original;
        if (!same) reason = QStringLiteral("A cópia não confere com o banco");
      } catch (const SqlError& e) {
        reason = e.text();
      }
    } else {
      reason = copy.lastError();
    }
    copy.release();
  }
  if (!same) {
    QFile::remove(file);
    return fail(reason);
  }
  return file;
}
