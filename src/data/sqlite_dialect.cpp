// SQLite: the embedded installation's engine. One file holds the whole database, a write
// transaction holds the whole file, and a backup is a checked copy of that file.
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <unistd.h>
#include <cstdio>

#include "base/installation_folder.h"
#include "data/connection.h"
#include "data/database_files.h"
#include "data/engine_dialects.h"
#include "data/sql.h"

namespace {

bool refuse(QString* why, const QString& reason) {
  if (why) *why = reason;
  return false;
}

// Copies `from` into a new owner-only file `to`, flushed to disk.
bool copyWhole(const QString& from, const QString& to, QString* reason) {
  QFile source(from);
  if (!source.open(QIODevice::ReadOnly)) {
    *reason = source.errorString();
    return false;
  }
  QFile target(to);
  if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    *reason = target.errorString();
    return false;
  }
  makePrivateFile(to);
  while (!source.atEnd()) {
    const QByteArray block = source.read(1 << 20);
    if (block.isEmpty() || target.write(block) != block.size()) {
      *reason =
          target.error() != QFileDevice::NoError ? target.errorString() : source.errorString();
      return false;
    }
  }
  if (!target.flush() || ::fsync(target.handle()) != 0) {
    *reason = target.errorString();
    return false;
  }
  return true;
}

class SqliteDialect final : public Dialect {
 public:
  Provider provider() const override { return Provider::SQLite; }
  QString qtDriver() const override { return QStringLiteral("QSQLITE"); }

  QString columnType(ColumnType type, int size) const override {
    return commonColumnType(type, size, QStringLiteral("BLOB"),
                            QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
  }

  QString yearOf(const QString& column) const override {
    return QStringLiteral("CAST(strftime('%Y', %1) AS INTEGER)").arg(column);
  }

  QString listTablesSql() const override {
    return QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
  }

  QString listIndexesSql() const override {
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'");
  }

  QString sizeSql() const override {
    return QStringLiteral(
        "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()");
  }

  QStringList shrinkSql() const override { return {QStringLiteral("VACUUM")}; }

  // Random row ids, each a lookup in the table's own B-tree: no scan, however large it is.
  // (Ids freed by deletes only make the sample a little smaller.)
  QString sampleSql(const QString& table, const QString& columns) const override {
    return QStringLiteral(
               "WITH RECURSIVE pick(n, id) AS (SELECT 0, NULL UNION ALL "
               "SELECT n + 1, (random() & 9223372036854775807) % (SELECT max(rowid) FROM %1) + 1 "
               "FROM pick WHERE n < ?) "
               "SELECT %2 FROM %1 WHERE rowid IN (SELECT id FROM pick)")
        .arg(table, columns);
  }
  QVariantList sampleValues(int rows, double /*share*/) const override { return {rows}; }

  // The highest row id: a look at the last leaf of the table's B-tree. Deleted rows make it an
  // overestimate, which the grid corrects when it reaches the end of the table.
  QString estimatedRowsSql(const QString& table) const override {
    return QStringLiteral("SELECT max(rowid) FROM %1").arg(table);
  }
  QVariantList estimatedRowsValues(const QString& /*table*/) const override { return {}; }
  QString histogramSql() const override { return {}; }

  bool nullsSortFirst() const override { return true; }
  QString uniqueIndexCountSql() const override {
    return QStringLiteral(
        "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND lower(name) = lower(?) "
        "AND upper(sql) LIKE 'CREATE UNIQUE%'");
  }

  QString addColumnSql(const QString& table, const QString& column,
                       const QString& type) const override {
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, column, type);
  }

  // SQLite keeps text of any length in any text column.
  std::optional<int> enforcedTextWidth(const QSqlDatabase& /*db*/, const QString& /*table*/,
                                       const QString& /*column*/) const override {
    return std::nullopt;
  }

  // A transaction starts as a writer: one that began by reading would be refused at its first
  // write while another workstation writes, without the busy wait ever applying.
  std::optional<QString> prepareConnection(QSqlDatabase& db, const LinkSpec& link,
                                           bool create) const override {
    if (!create && !QFileInfo::exists(link.dataSource))
      return QStringLiteral("banco %1 não existe").arg(link.dataSource);
    if (!QFileInfo::exists(link.dataSource)) {
      // An empty file is an empty database; made here, it is private from its first byte
      // (SQLite's journals copy its permissions).
      QFile fresh(link.dataSource);
      if (!fresh.open(QIODevice::WriteOnly))
        return QStringLiteral("banco %1 não pode ser criado").arg(link.dataSource);
      fresh.close();
      makePrivateFile(link.dataSource);
    }
    db.setDatabaseName(link.dataSource);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    return std::nullopt;
  }

  void startSession(const QSqlDatabase& /*db*/) const override {}

  // An embedded database "goes away" when its file does: the open handle would still answer.
  std::optional<QString> databaseGone(const QSqlDatabase& db) const override {
    if (QFileInfo::exists(db.databaseName())) return std::nullopt;
    return QStringLiteral("arquivo %1 não existe").arg(db.databaseName());
  }

  void beginWrite(const QSqlDatabase& db) const override {
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) throw SqlError(begin.lastError().text());
  }

  // A write transaction already holds the whole database: every turn is this one's.
  void waitForTurn(const QSqlDatabase& /*db*/, const QString& /*key*/) const override {}

  // Thousands of rows a statement, as one JSON document that SQLite unpacks itself: values stay
  // parameters, and a row costs no statement.
  void bulkLoad(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows) const override {
    if (rows.isEmpty()) return;
    QStringList keys;
    QStringList extracts;
    for (const QString& column : columns) {
      keys << column.toLower();
      extracts << QStringLiteral("json_extract(value, '$.%1')").arg(keys.last());
    }
    loadRowsAsJson(
        db,
        QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM json_each(?)")
            .arg(table, keys.join(QStringLiteral(", ")), extracts.join(QStringLiteral(", "))),
        keys, rows);
  }

  QString differsSql(const QString& now, const QString& then) const override {
    return QStringLiteral("(%1) IS NOT (%2)").arg(now, then);
  }

  // The rows numbered within their key; the first of each stays. (`from` is read through the
  // alias `from` gave it, so `columns` and `keys` name its columns the same way.)
  QString onePerKeySql(const QString& columns, const QString& keys,
                       const QString& from) const override {
    const QString alias = from.section(QLatin1Char(' '), -1);
    return QStringLiteral(
               "SELECT %1 FROM (SELECT %4.*, ROW_NUMBER() OVER (PARTITION BY %2) AS vez_ FROM %3) "
               "%4 WHERE %4.vez_ = 1")
        .arg(columns, keys, from, alias);
  }

  // Each row against the latest date of its own group.
  QString deleteBeforeLatestSql(const QString& table, const QStringList& groupColumns,
                                const QString& dateColumn, const QString& scope) const override {
    QStringList group;
    for (const QString& column : groupColumns)
      group << QStringLiteral("q.%2 = %1.%2").arg(table, column);
    return QStringLiteral("DELETE FROM %1 WHERE %2 AND %3 < (SELECT MAX(q.%3) FROM %1 q WHERE %4)")
        .arg(table, scope, dateColumn, group.join(QStringLiteral(" AND ")));
  }

  // An online copy of the file, taken while others may keep working, opened again and counted.
  void writeCheckedCopy(const QSqlDatabase& db, const LinkSpec& /*link*/, const QString& file,
                        const QString& /*libraryRoot*/) const override {
    const QMap<QString, qint64> original = rowCounts(db);
    runSql(db, QStringLiteral("VACUUM INTO ?"), {file});
    bool same = false;
    QString reason;
    Connection copy(LinkSpec::sqliteFile(file),
                    Connection::uniqueName(QStringLiteral("backup-verifica")));
    if (copy.open()) {
      try {
        same = rowCounts(copy.database()) == original;
        if (!same) reason = QStringLiteral("A cópia não confere com o banco");
      } catch (const SqlError& e) {
        reason = e.text();
      }
    } else {
      reason = copy.lastError();
    }
    copy.release();
    if (!same) throw SqlError(reason);
  }

  // What is checked is the very copy that takes the database's place: the backup is copied
  // beside the database first (a journal lying beside the backup is never played), and only
  // that copy, once it proves whole and a real backup of the gym, is renamed over the database.
  bool restoreCopy(const LinkSpec& link, const QString& file, const QString& /*libraryRoot*/,
                   const CopyRefusal& refusal, QString* why) const override {
    const QString databaseFile = link.dataSource;
    const QString incoming = databaseFile + QStringLiteral(".restaurando");
    removeDatabaseFiles(incoming);
    QString reason;
    bool ready = copyWhole(file, incoming, &reason);
    if (ready) {
      const std::optional<QMap<QString, qint64>> counts = soundCounts(incoming, &reason);
      if (counts) reason = refusal(*counts, currentCounts(databaseFile));
      ready = counts && reason.isEmpty();
    }
    if (!ready || ::rename(QFile::encodeName(incoming).constData(),
                           QFile::encodeName(databaseFile).constData()) != 0) {
      removeDatabaseFiles(incoming);
      return refuse(why,
                    reason.isEmpty() ? QStringLiteral("O banco não pôde ser substituído") : reason);
    }
    // A journal of the replaced file must not be played over the restored one.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
      QFile::remove(databaseFile + QString::fromLatin1(suffix));
    return true;
  }

 private:
  // The row counts of a database file that must be whole: nothing, with the reason, when it
  // does not open or fails SQLite's own integrity check.
  std::optional<QMap<QString, qint64>> soundCounts(const QString& file, QString* reason) const {
    Connection backup(LinkSpec::sqliteFile(file),
                      Connection::uniqueName(QStringLiteral("restaura-verifica")));
    std::optional<QMap<QString, qint64>> counts;
    if (backup.open()) {
      try {
        if (scalarSql(backup.database(), QStringLiteral("PRAGMA integrity_check")).toString() ==
            QStringLiteral("ok"))
          counts = rowCounts(backup.database());
        else
          *reason = QStringLiteral("O backup não é um banco íntegro");
      } catch (const SqlError& e) {
        *reason = e.text();
      }
    } else {
      *reason = backup.lastError();
    }
    backup.release();
    if (!counts && reason->isEmpty()) *reason = QStringLiteral("O backup não é um banco íntegro");
    return counts;
  }

  // The row counts of the database a restore would replace; empty when there is none yet.
  QMap<QString, qint64> currentCounts(const QString& databaseFile) const {
    if (!QFileInfo::exists(databaseFile)) return {};
    QString ignored;
    return soundCounts(databaseFile, &ignored).value_or(QMap<QString, qint64>{});
  }
};

}  // namespace

const Dialect& sqliteDialect() {
  static const SqliteDialect dialect;
  return dialect;
}
