// PostgreSQL: the server installation's engine. Turns are the server's advisory locks, many rows
// travel as COPY streams on the session Qt's driver holds, and a backup is a dump by the server's
// own programs.
#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <postgresql/libpq-fe.h>

#include "base/installation_folder.h"
#include "data/connection.h"
#include "data/engine_dialects.h"
#include "data/pg_tools.h"
#include "data/sql.h"

namespace {

bool refuse(QString* why, const QString& reason) {
  if (why) *why = reason;
  return false;
}

// The PostgreSQL session under a Qt connection, or nullptr.
PGconn* postgresSession(const QSqlDatabase& db) {
  if (!db.driver()) return nullptr;
  const QVariant handle = db.driver()->handle();
  if (!handle.isValid()) return nullptr;
  const char* type = handle.typeName();
  if (qstrcmp(type, "PGconn*") != 0 && qstrcmp(type, "pg_conn*") != 0) return nullptr;
  return *static_cast<PGconn* const*>(handle.constData());
}

[[noreturn]] void copyFailed(PGconn* session, const QString& table) {
  throw SqlError(
      QStringLiteral("COPY %1: %2").arg(table, QString::fromUtf8(PQerrorMessage(session))));
}

// One CSV field as COPY reads it: NULL as nothing, everything else quoted.
void appendCsv(QByteArray& out, const QVariant& value) {
  if (value.isNull()) return;
  QByteArray text;
  switch (value.typeId()) {
    case QMetaType::QDate:
      text = value.toDate().toString(Qt::ISODate).toUtf8();
      break;
    case QMetaType::Bool:
      text = value.toBool() ? "t" : "f";
      break;
    case QMetaType::Double:
    case QMetaType::Float:
      text = QByteArray::number(value.toDouble(), 'g', 17);
      break;
    default:
      text = value.toString().toUtf8();
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

QByteArray copyInto(const QString& table, const QStringList& columns) {
  return QStringLiteral("COPY %1 (%2) FROM STDIN WITH (FORMAT csv)")
      .arg(table, columns.join(QStringLiteral(", ")))
      .toUtf8();
}

// Rows into `table` through COPY, in CSV, on the session the transaction runs on.
void copyRows(PGconn* session, const QString& table, const QStringList& columns,
              const QList<QVariantList>& rows) {
  PGresult* started = PQexec(session, copyInto(table, columns).constData());
  const bool copying = PQresultStatus(started) == PGRES_COPY_IN;
  PQclear(started);
  if (!copying) copyFailed(session, table);
  QByteArray chunk;
  bool sent = true;
  for (int r = 0; r < rows.size() && sent; ++r) {
    for (int c = 0; c < columns.size(); ++c) {
      if (c > 0) chunk += ',';
      appendCsv(chunk, rows[r].value(c));
    }
    chunk += '\n';
    if (chunk.size() > (1 << 20) || r + 1 == rows.size()) {
      sent = PQputCopyData(session, chunk.constData(), int(chunk.size())) == 1;
      chunk.clear();
    }
  }
  if (PQputCopyEnd(session, sent ? nullptr : "envio interrompido") != 1) copyFailed(session, table);
  bool ok = sent;
  while (PGresult* result = PQgetResult(session)) {
    ok = ok && PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
  }
  if (!ok) copyFailed(session, table);
}

QString quotedTable(const QString& table) {
  return QStringLiteral("\"%1\"").arg(QString(table).replace(QLatin1Char('"'),
                                                             QStringLiteral("\"\"")));
}

// The statement that drops the tables the database holds and the dump does not, so that after
// the restore the database holds exactly what the backup held; empty when there are none.
QString dropTablesOutsideDump(const QMap<QString, qint64>& database,
                              const QMap<QString, qint64>& dump) {
  QStringList extra;
  for (auto it = database.cbegin(); it != database.cend(); ++it)
    if (!dump.contains(it.key())) extra << quotedTable(it.key());
  if (extra.isEmpty()) return QString();
  return QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE").arg(extra.join(QStringLiteral(", ")));
}

QStringList connectionArguments(const LinkSpec& link) {
  QStringList args{QStringLiteral("-h"), link.host(), QStringLiteral("-d"), link.catalog};
  if (!link.user.isEmpty()) args << QStringLiteral("-U") << link.user;
  if (link.port() > 0) args << QStringLiteral("-p") << QString::number(link.port());
  return args;
}

QProcessEnvironment environmentFor(const LinkSpec& link) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!link.password.isEmpty()) env.insert(QStringLiteral("PGPASSWORD"), link.password);
  return env;
}

class PostgresDialect final : public Dialect {
 public:
  Provider provider() const override { return Provider::PostgreSQL; }
  QString qtDriver() const override { return QStringLiteral("QPSQL"); }

  QString columnType(ColumnType type, int size) const override {
    return commonColumnType(type, size, QStringLiteral("BYTEA"),
                            QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
  }

  QString yearOf(const QString& column) const override {
    return QStringLiteral("CAST(EXTRACT(YEAR FROM %1) AS INTEGER)").arg(column);
  }

  QString listTablesSql() const override {
    return QStringLiteral(
        "SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "WHERE c.relkind IN ('r', 'p') AND n.nspname = current_schema()");
  }

  QString listIndexesSql() const override {
    return QStringLiteral(
        "SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "WHERE c.relkind = 'i' AND n.nspname = current_schema()");
  }

  QString sizeSql() const override {
    return QStringLiteral("SELECT pg_database_size(current_database())");
  }

  QStringList shrinkSql() const override { return {QStringLiteral("VACUUM")}; }

  // Random pages of the table: only those pages are read.
  QString sampleSql(const QString& table, const QString& columns) const override {
    return QStringLiteral("SELECT %2 FROM %1 TABLESAMPLE SYSTEM (?)").arg(table, columns);
  }
  QVariantList sampleValues(int /*rows*/, double share) const override {
    return {qBound(0.0, share * 100.0, 100.0)};
  }

  // What the server keeps up to date as it vacuums and analyses: -1 for a table never analysed.
  QString estimatedRowsSql(const QString& /*table*/) const override {
    return QStringLiteral("SELECT reltuples::bigint FROM pg_class WHERE oid = to_regclass(?)");
  }
  QVariantList estimatedRowsValues(const QString& table) const override { return {table}; }

  // The planner's equal-height histogram: a hundred evenly spread values of the column, read
  // from the catalog. (A sample of random pages would cluster on a table stored in key order.)
  QString histogramSql() const override {
    return QStringLiteral(
        "SELECT unnest(histogram_bounds::text::text[]) FROM pg_stats "
        "WHERE schemaname = current_schema() AND tablename = lower(?) AND attname = lower(?)");
  }

  bool nullsSortFirst() const override { return false; }
  QString uniqueIndexCountSql() const override {
    return QStringLiteral(
        "SELECT COUNT(*) FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
        "WHERE c.relname = lower(?) AND i.indisunique");
  }

  QString addColumnSql(const QString& table, const QString& column,
                       const QString& type) const override {
    return QStringLiteral("ALTER TABLE %1 ADD %2 %3").arg(table, column, type);
  }

  // The catalog itself: information_schema costs a fresh backend tens of milliseconds at every
  // login. A VARCHAR(n) keeps n + 4 as its type modifier; -1 is no limit.
  std::optional<int> enforcedTextWidth(const QSqlDatabase& db, const QString& table,
                                       const QString& column) const override {
    const QVariant modifier = scalarSql(
        db,
        QStringLiteral("SELECT a.atttypmod FROM pg_attribute a "
                       "JOIN pg_class c ON c.oid = a.attrelid "
                       "JOIN pg_namespace n ON n.oid = c.relnamespace "
                       "WHERE n.nspname = current_schema() AND c.relname = ? AND a.attname = ? "
                       "AND NOT a.attisdropped"),
        {table.toLower(), column.toLower()});
    if (modifier.isNull() || modifier.toInt() < 0) return std::nullopt;
    return modifier.toInt() - 4;
  }

  void beginWrite(const QSqlDatabase& db) const override {
    QSqlDatabase session = db;
    if (!session.transaction()) throw SqlError(session.lastError().text());
  }

  // A lock of the server held until the transaction ends, so two workstations never pick the
  // same next number nor write the same rows into each other.
  void waitForTurn(const QSqlDatabase& db, const QString& key) const override {
    runPrepared(db, QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"), {key}).finish();
  }

  // COPY on the session the transaction runs on; through a JSON document the server unpacks
  // itself when the driver does not show its session. The planner then learns the table.
  void bulkLoad(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows) const override {
    if (rows.isEmpty()) return;
    if (PGconn* session = postgresSession(db)) {
      copyRows(session, table, columns, rows);
    } else {
      QStringList keys;
      for (const QString& column : columns) keys << column.toLower();
      loadRowsAsJson(db,
                     QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM "
                                    "json_populate_recordset(NULL::%1, CAST(? AS json))")
                         .arg(table, keys.join(QStringLiteral(", "))),
                     keys, rows);
    }
    runSql(db, QStringLiteral("ANALYZE %1").arg(table));
  }

  bool streamsBetween(const QSqlDatabase& from, const QSqlDatabase& to) const override {
    return postgresSession(from) && postgresSession(to);
  }

  // A COPY out of one server fed straight into a COPY into the other, untouched by the program.
  void stream(const QSqlDatabase& fromDb, const QString& select, const QSqlDatabase& toDb,
              const QString& table, const QStringList& columns) const override {
    PGconn* from = postgresSession(fromDb);
    PGconn* to = postgresSession(toDb);
    if (!from || !to) Dialect::stream(fromDb, select, toDb, table, columns);
    const QByteArray out =
        QStringLiteral("COPY (%1) TO STDOUT WITH (FORMAT csv)").arg(select).toUtf8();
    PGresult* reading = PQexec(from, out.constData());
    const bool readingOk = PQresultStatus(reading) == PGRES_COPY_OUT;
    PQclear(reading);
    if (!readingOk) copyFailed(from, table);
    PGresult* writing = PQexec(to, copyInto(table, columns).constData());
    const bool writingOk = PQresultStatus(writing) == PGRES_COPY_IN;
    PQclear(writing);
    bool sent = writingOk;
    char* buffer = nullptr;
    int length = 0;
    // Drain the source whatever happens, so its session is usable again.
    while ((length = PQgetCopyData(from, &buffer, 0)) > 0) {
      if (sent) sent = PQputCopyData(to, buffer, length) == 1;
      PQfreemem(buffer);
    }
    bool readOk = length == -1;
    while (PGresult* result = PQgetResult(from)) {
      readOk = readOk && PQresultStatus(result) == PGRES_COMMAND_OK;
      PQclear(result);
    }
    if (writingOk) {
      if (PQputCopyEnd(to, sent && readOk ? nullptr : "leitura interrompida") != 1) sent = false;
      while (PGresult* result = PQgetResult(to)) {
        sent = sent && PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
      }
    }
    if (!readOk) copyFailed(from, table);
    if (!sent) copyFailed(to, table);
    runSql(toDb, QStringLiteral("ANALYZE %1").arg(table));
  }

  QString differsSql(const QString& now, const QString& then) const override {
    return QStringLiteral("(%1) IS DISTINCT FROM (%2)").arg(now, then);
  }

  QString onePerKeySql(const QString& columns, const QString& keys,
                       const QString& from) const override {
    return QStringLiteral("SELECT DISTINCT ON (%2) %1 FROM %3").arg(columns, keys, from);
  }

  // The latest date of each group once, then the rows before it.
  QString deleteBeforeLatestSql(const QString& table, const QStringList& groupColumns,
                                const QString& dateColumn, const QString& scope) const override {
    QStringList match;
    for (const QString& column : groupColumns) match << QStringLiteral("p.%1 = u.%1").arg(column);
    const QString group = groupColumns.join(QStringLiteral(", "));
    return QStringLiteral(
               "DELETE FROM %1 p USING (SELECT %2, MAX(%3) AS ultima FROM %1 WHERE %4 GROUP BY "
               "%2) u WHERE %5 AND p.%3 < u.ultima")
        .arg(table, group, dateColumn, scope, match.join(QStringLiteral(" AND ")));
  }

  // pg_dump -Fc (the newest program at least as new as the server) from the very snapshot the
  // rows are counted in, then the counts the dump holds, read back from it.
  void writeCheckedCopy(const QSqlDatabase& db, const LinkSpec& link, const QString& file,
                        const QString& libraryRoot) const override {
    try {
      const int major =
          postgresMajor(scalarSql(db, QStringLiteral("SHOW server_version_num")).toString());
      QString missing;
      const std::optional<QString> pgDump =
          findPostgresTool(QStringLiteral("pg_dump"), major, libraryRoot, &missing);
      if (!pgDump) throw SqlError(missing);
      const std::optional<QString> pgRestore =
          findPostgresTool(QStringLiteral("pg_restore"), major, libraryRoot, &missing);
      if (!pgRestore) throw SqlError(missing);
      // The counts and the dump see the same moment: the dump takes this transaction's snapshot.
      runSql(db, QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ"));
      const QString snapshot =
          scalarSql(db, QStringLiteral("SELECT pg_export_snapshot()")).toString();
      const QMap<QString, qint64> counts = rowCounts(db);
      QProcess dump;
      dump.setProcessEnvironment(environmentFor(link));
      QStringList args{QStringLiteral("-Fc"), QStringLiteral("--snapshot=") + snapshot,
                       QStringLiteral("-h"), link.host(), QStringLiteral("-f"), file};
      if (!link.user.isEmpty()) args << QStringLiteral("-U") << link.user;
      if (link.port() > 0) args << QStringLiteral("-p") << QString::number(link.port());
      args << link.catalog;
      dump.start(*pgDump, args);
      const bool dumped = dump.waitForFinished(-1) && dump.exitStatus() == QProcess::NormalExit &&
                          dump.exitCode() == 0;
      runSql(db, QStringLiteral("COMMIT"));
      if (!dumped) throw SqlError(QString::fromLocal8Bit(dump.readAllStandardError()).trimmed());
      makePrivateFile(file);
      const std::optional<QMap<QString, qint64>> inDump = dumpRowCounts(*pgRestore, file);
      if (!inDump) throw SqlError(QStringLiteral("O backup não pôde ser lido de volta"));
      for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (inDump->value(it.key(), -1) != it.value())
          throw SqlError(QStringLiteral("O backup não confere com o banco (%1)").arg(it.key()));
    } catch (const SqlError&) {
      sqlRuns(db, QStringLiteral("ROLLBACK"));
      throw;
    }
  }

  // pg_restore writes the dump out as SQL and psql plays it, after dropping the tables the
  // backup did not have, all in one transaction, once the dump has been read whole and passed
  // the same checks as any other copy.
  bool restoreCopy(const LinkSpec& link, const QString& file, const QString& libraryRoot,
                   const CopyRefusal& refusal, QString* why) const override {
    Connection session(link, Connection::uniqueName(QStringLiteral("restaura")));
    if (!session.open()) return refuse(why, session.lastError());
    int major = 0;
    QMap<QString, qint64> current;
    try {
      major = postgresMajor(
          scalarSql(session.database(), QStringLiteral("SHOW server_version_num")).toString());
      current = rowCounts(session.database());
    } catch (const SqlError& e) {
      session.release();
      return refuse(why, e.text());
    }
    session.release();
    QString missing;
    const std::optional<QString> pgRestore =
        findPostgresTool(QStringLiteral("pg_restore"), major, libraryRoot, &missing);
    if (!pgRestore) return refuse(why, missing);
    const std::optional<QString> psql =
        findPostgresTool(QStringLiteral("psql"), major, libraryRoot, &missing);
    if (!psql) return refuse(why, missing);
    const std::optional<QMap<QString, qint64>> inDump = dumpRowCounts(*pgRestore, file);
    if (!inDump) return refuse(why, QStringLiteral("O backup não pôde ser lido"));
    const QString refused = refusal(*inDump, current);
    if (!refused.isEmpty()) return refuse(why, refused);

    // The script passes through here so that psql is stopped, never left to commit half a
    // script, when pg_restore fails midway.
    QStringList playArgs{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                         QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("--single-transaction")};
    playArgs << connectionArguments(link);
    const QString drop = dropTablesOutsideDump(current, *inDump);
    if (!drop.isEmpty()) playArgs << QStringLiteral("-c") << drop;
    playArgs << QStringLiteral("-f") << QStringLiteral("-");
    QProcess player;
    player.setProcessEnvironment(environmentFor(link));
    player.setStandardOutputFile(QProcess::nullDevice());
    player.start(*psql, playArgs);
    QProcess script;
    script.start(*pgRestore, {QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                              QStringLiteral("--no-owner"), QStringLiteral("-f"),
                              QStringLiteral("-"), file});
    if (!player.waitForStarted() || !script.waitForStarted()) {
      player.kill();
      script.kill();
      player.waitForFinished(-1);
      script.waitForFinished(-1);
      return refuse(why, QStringLiteral("pg_restore ou psql não pôde ser iniciado"));
    }
    const auto relay = [&] {
      player.write(script.readAllStandardOutput());
      while (player.bytesToWrite() > (4 << 20) && player.state() == QProcess::Running)
        player.waitForBytesWritten(1000);
    };
    while (script.state() == QProcess::Running && player.state() == QProcess::Running) {
      script.waitForReadyRead(1000);
      relay();
    }
    // psql gone first (it stopped at an error): pg_restore would wait forever on a full pipe.
    const bool playerStopped = player.state() != QProcess::Running;
    if (playerStopped) script.kill();
    script.waitForFinished(-1);
    if (!playerStopped) relay();
    const bool written =
        !playerStopped && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
    if (written) {
      player.closeWriteChannel();
    } else {
      player.kill();
    }
    player.waitForFinished(-1);
    const bool played = player.exitStatus() == QProcess::NormalExit && player.exitCode() == 0;
    if (written && played) return true;
    const QString error = QString::fromLocal8Bit(written || playerStopped
                                                     ? player.readAllStandardError()
                                                     : script.readAllStandardError())
                              .trimmed();
    return refuse(why,
                  error.isEmpty() ? QStringLiteral("O backup não pôde ser restaurado") : error);
  }
};

}  // namespace

const Dialect& postgresDialect() {
  static const PostgresDialect dialect;
  return dialect;
}
