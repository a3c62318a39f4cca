#include "maintenance/backup_store.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlQuery>

#include "data/connection.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "maintenance/backup_rules.h"
#include "maintenance/pg_tools.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QSaveFile>

namespace {

// The row count of every table `listSql` names, each table read as `prefix` + its quoted name.
QMap<QString, qint64> rowCounts(const QSqlDatabase& db, const QString& listSql,
                                const QString& prefix) {
  QStringList tables;
  QSqlQuery list = runSql(db, listSql);
  while (list.next()) tables << list.value(0).toString();
  QMap<QString, qint64> counts;
  for (const QString& table : tables) {
    const QString quoted = QString(table).replace(QLatin1Char('"'), QStringLiteral("\"\""));
    counts.insert(table, scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM %1\"%2\"")
                                           .arg(prefix, quoted))
                             .toLongLong());
  }
  return counts;
}

}  // namespace

QMap<QString, qint64> sqliteRowCounts(const QSqlDatabase& db) {
  return rowCounts(db,
                   QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name "
                                  "NOT LIKE 'sqlite_%' ORDER BY name"),
                   QString());
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
  bool same = false;
  QString reason;
  {
    Connection copy(LinkSpec::sqliteFile(file),
                    Connection::uniqueName(QStringLiteral("backup-verifica")));
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

QMap<QString, qint64> postgresRowCounts(const QSqlDatabase& db) {
  return rowCounts(db,
                   QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname = 'public' "
                                  "ORDER BY tablename"),
                   QStringLiteral("public."));
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

std::optional<QString> backupPostgres(const LinkSpec& link, const QString& folder,
                                      const QDateTime& at, const QString& libraryRoot,
                                      QString* why) {
  const auto fail = [&](const QString& reason) -> std::optional<QString> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (!QDir().mkpath(folder)) return fail(QStringLiteral("Pasta de backup não pôde ser criada"));
  const QString file = QDir(folder).filePath(backupFileName(at));
  if (QFile::exists(file)) return fail(QStringLiteral("Já existe um backup com este nome"));

  Connection session(link, Connection::uniqueName(QStringLiteral("backup")));
  if (!session.open()) return fail(session.lastError());
  const QSqlDatabase db = session.database();
  QString reason;
  std::optional<QString> done;
  try {
    const int major = postgresMajor(scalarSql(db, QStringLiteral("SHOW server_version_num")).toString());
    QString missing;
    const std::optional<QString> pgDump =
        findPostgresTool(QStringLiteral("pg_dump"), major, libraryRoot, &missing);
    if (!pgDump) throw SqlError(missing);
    const std::optional<QString> pgRestore =
        findPostgresTool(QStringLiteral("pg_restore"), major, libraryRoot, &missing);
    if (!pgRestore) throw SqlError(missing);
    // The counts and the dump see the same moment: the dump takes this transaction's snapshot.
    runSql(db, QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ"));
    const QString snapshot = scalarSql(db, QStringLiteral("SELECT pg_export_snapshot()")).toString();
    const QMap<QString, qint64> counts = postgresRowCounts(db);
    QProcess dump;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!link.password.isEmpty()) env.insert(QStringLiteral("PGPASSWORD"), link.password);
    dump.setProcessEnvironment(env);
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
    const std::optional<QMap<QString, qint64>> inDump = dumpRowCounts(*pgRestore, file);
    if (!inDump) throw SqlError(QStringLiteral("O backup não pôde ser lido de volta"));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
      if (inDump->value(it.key(), -1) != it.value())
        throw SqlError(QStringLiteral("O backup não confere com o banco (%1)").arg(it.key()));
    done = file;
  } catch (const SqlError& e) {
    sqlRuns(db, QStringLiteral("ROLLBACK"));
    reason = e.text();
  }
  session.release();
  if (!done) {
    QFile::remove(file);
    return fail(reason);
  }
  return done;
}

namespace {

bool refuse(QString* why, const QString& reason) {
  if (why) *why = reason;
  return false;
}

}  // namespace

bool restoreSqlite(const QString& databaseFile, const QString& backupFile, QString* why) {
  if (!restorableName(backupFile)) return refuse(why, QStringLiteral("Extensão Inaválida"));
  // The backup must be a whole database before anything is replaced.
  {
    Connection backup(LinkSpec::sqliteFile(backupFile),
                      Connection::uniqueName(QStringLiteral("restaura-verifica")));
    bool sound = false;
    QString reason;
    if (backup.open()) {
      try {
        sound = scalarSql(backup.database(), QStringLiteral("PRAGMA integrity_check")).toString() ==
                QStringLiteral("ok");
        if (sound) sqliteRowCounts(backup.database());
      } catch (const SqlError& e) {
        sound = false;
        reason = e.text();
      }
    } else {
      reason = backup.lastError();
    }
    backup.release();
    if (!sound)
      return refuse(why, reason.isEmpty() ? QStringLiteral("O backup não é um banco íntegro")
                                          : reason);
  }
  QFile source(backupFile);
  if (!source.open(QIODevice::ReadOnly)) return refuse(why, source.errorString());
  QSaveFile target(databaseFile);
  if (!target.open(QIODevice::WriteOnly)) return refuse(why, target.errorString());
  while (!source.atEnd()) {
    const QByteArray block = source.read(1 << 20);
    if (block.isEmpty() || target.write(block) != block.size()) {
      target.cancelWriting();
      return refuse(why, target.errorString());
    }
  }
  if (!target.commit()) return refuse(why, target.errorString());
  // A journal of the replaced file must not be played over the restored one.
  for (const char* suffix : {"-journal", "-wal", "-shm"})
    QFile::remove(databaseFile + QString::fromLatin1(suffix));
  return true;
}

bool restorePostgres(const LinkSpec& link, const QString& backupFile, const QString& libraryRoot,
                     QString* why) {
  if (!restorableName(backupFile)) return refuse(why, QStringLiteral("Extensão Inaválida"));
  Connection session(link, Connection::uniqueName(QStringLiteral("restaura")));
  if (!session.open()) return refuse(why, session.lastError());
  int major = 0;
  try {
    major = postgresMajor(
        scalarSql(session.database(), QStringLiteral("SHOW server_version_num")).toString());
  } catch (const SqlError& e) {
    session.release();
    return refuse(why, e.text());
  }
  session.release();
  QString missing;
  const std::optional<QString> pgRestore =
      findPostgresTool(QStringLiteral("pg_restore"), major, libraryRoot, &missing);
  if (!pgRestore) return refuse(why, missing);
  if (!dumpRowCounts(*pgRestore, backupFile))
    return refuse(why, QStringLiteral("O backup não pôde ser lido"));
  QProcess restore;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!link.password.isEmpty()) env.insert(QStringLiteral("PGPASSWORD"), link.password);
  restore.setProcessEnvironment(env);
  QStringList args{QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                   QStringLiteral("--single-transaction"), QStringLiteral("--no-owner"),
                   QStringLiteral("--exit-on-error"), QStringLiteral("-h"), link.host(),
                   QStringLiteral("-d"), link.catalog};
  if (!link.user.isEmpty()) args << QStringLiteral("-U") << link.user;
  if (link.port() > 0) args << QStringLiteral("-p") << QString::number(link.port());
  args << backupFile;
  restore.start(*pgRestore, args);
  if (!restore.waitForFinished(-1) || restore.exitStatus() != QProcess::NormalExit ||
      restore.exitCode() != 0)
    return refuse(why, QString::fromLocal8Bit(restore.readAllStandardError()).trimmed());
  return true;
}

QStringList removeOldBackups(const QString& folder, const QDate& today) {
  QStringList removed;
  const QDir dir(folder);
  for (const QString& name :
       dir.entryList({kBackupPrefix + QStringLiteral("*.bak")}, QDir::Files, QDir::Name))
    if (removedByCleanup(name, today) && QFile::remove(dir.filePath(name))) removed << name;
  return removed;
}

QStringList dropScratchTables(const QSqlDatabase& db, const Dialect& dialect) {
  QStringList tables;
  QSqlQuery list = runSql(db, dialect.listTablesSql());
  while (list.next()) tables << list.value(0).toString();
  const QStringList scratch = scratchTables(tables);
  for (const QString& table : scratch)
    runSql(db, QStringLiteral("DROP TABLE \"%1\"").arg(QString(table).replace(
                                                           QLatin1Char('"'), QStringLiteral("\"\""))));
  return scratch;
}

std::optional<int> purgeSeries(const QSqlDatabase& db, int year) {
  int deleted = 0;
  const QDate after(year + 1, 1, 1);
  const bool done = writeInTransaction(db, QStringLiteral("Banco de Dados"), [&] {
    for (const char* table : {"Aerobica", "Agendado", "Alongamento", "Treino"}) {
      QSqlQuery removed = runSql(
          db, QStringLiteral("DELETE FROM %1 WHERE Data < ?").arg(QString::fromLatin1(table)),
          {after});
      deleted += qMax(0, removed.numRowsAffected());
    }
  });
  if (!done) return std::nullopt;
  return deleted;
}
