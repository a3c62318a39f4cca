#include "maintenance/backup_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlQuery>

#include <unistd.h>

#include "base/installation_folder.h"
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

// Flushes a file the program wrote to the disk, so the name it is about to get never points at
// data still in memory when the power goes.
bool syncToDisk(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return false;
  return ::fsync(file.handle()) == 0;
}

// A partial backup becomes the backup: owner-only, on disk, then renamed in one step.
bool promotePartial(const QString& partial, const QString& file, QString* reason) {
  makePrivateFile(partial);
  if (!syncToDisk(partial) || ::rename(QFile::encodeName(partial).constData(),
                                       QFile::encodeName(file).constData()) != 0) {
    *reason = QStringLiteral("O backup não pôde ser gravado como %1").arg(file);
    return false;
  }
  return true;
}

void removePartial(const QString& partial) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    QFile::remove(partial + QString::fromLatin1(suffix));
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
  if (!makePrivateFolder(folder)) return fail(QStringLiteral("Pasta de backup não pôde ser criada"));
  const QString file = QDir(folder).filePath(backupFileName(at));
  if (QFile::exists(file)) return fail(QStringLiteral("Já existe um backup com este nome"));
  const QString partial = partialBackupPath(file);
  removePartial(partial);
  QMap<QString, qint64> original;
  try {
    original = sqliteRowCounts(db);
    // A consistent copy of the whole database, taken while others may keep working.
    runSql(db, QStringLiteral("VACUUM INTO ?"), {partial});
  } catch (const SqlError& e) {
    removePartial(partial);
    return fail(e.text());
  }
  bool same = false;
  QString reason;
  {
    Connection copy(LinkSpec::sqliteFile(partial),
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
  if (!same || !promotePartial(partial, file, &reason)) {
    removePartial(partial);
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
  if (!makePrivateFolder(folder)) return fail(QStringLiteral("Pasta de backup não pôde ser criada"));
  const QString file = QDir(folder).filePath(backupFileName(at));
  if (QFile::exists(file)) return fail(QStringLiteral("Já existe um backup com este nome"));
  const QString partial = partialBackupPath(file);
  removePartial(partial);

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
                     QStringLiteral("-h"), link.host(), QStringLiteral("-f"), partial};
    if (!link.user.isEmpty()) args << QStringLiteral("-U") << link.user;
    if (link.port() > 0) args << QStringLiteral("-p") << QString::number(link.port());
    args << link.catalog;
    dump.start(*pgDump, args);
    const bool dumped = dump.waitForFinished(-1) && dump.exitStatus() == QProcess::NormalExit &&
                        dump.exitCode() == 0;
    runSql(db, QStringLiteral("COMMIT"));
    if (!dumped) throw SqlError(QString::fromLocal8Bit(dump.readAllStandardError()).trimmed());
    makePrivateFile(partial);
    const std::optional<QMap<QString, qint64>> inDump = dumpRowCounts(*pgRestore, partial);
    if (!inDump) throw SqlError(QStringLiteral("O backup não pôde ser lido de volta"));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
      if (inDump->value(it.key(), -1) != it.value())
        throw SqlError(QStringLiteral("O backup não confere com o banco (%1)").arg(it.key()));
    QString promoted;
    if (!promotePartial(partial, file, &promoted)) throw SqlError(promoted);
    done = file;
  } catch (const SqlError& e) {
    sqlRuns(db, QStringLiteral("ROLLBACK"));
    reason = e.text();
  }
  session.release();
  if (!done) {
    removePartial(partial);
    return fail(reason);
  }
  return done;
}

namespace {

bool refuse(QString* why, const QString& reason) {
  if (why) *why = reason;
  return false;
}


// The row counts of a SQLite database that must be whole: nothing, with the reason, when it does
// not open or fails SQLite's own integrity check.
std::optional<QMap<QString, qint64>> soundSqliteCounts(const QString& file, QString* reason) {
  Connection backup(LinkSpec::sqliteFile(file),
                    Connection::uniqueName(QStringLiteral("restaura-verifica")));
  std::optional<QMap<QString, qint64>> counts;
  if (backup.open()) {
    try {
      if (scalarSql(backup.database(), QStringLiteral("PRAGMA integrity_check")).toString() ==
          QStringLiteral("ok"))
        counts = sqliteRowCounts(backup.database());
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
QMap<QString, qint64> currentSqliteCounts(const QString& databaseFile) {
  if (!QFileInfo::exists(databaseFile)) return {};
  QString ignored;
  return soundSqliteCounts(databaseFile, &ignored).value_or(QMap<QString, qint64>{});
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
      *reason = target.error() != QFileDevice::NoError ? target.errorString()
                                                        : source.errorString();
      return false;
    }
  }
  if (!target.flush() || ::fsync(target.handle()) != 0) {
    *reason = target.errorString();
    return false;
  }
  return true;
}

}  // namespace

bool restoreSqlite(const QString& databaseFile, const QString& backupFile, QString* why) {
  if (!restorableName(backupFile)) return refuse(why, QStringLiteral("Extensão Inaválida"));
  // What is checked is the very copy that takes the database's place: the backup is copied
  // beside the database first (a journal lying beside the backup is never played), and only
  // that copy, once it proves whole and a real backup of the gym, is renamed over the database.
  const QString incoming = databaseFile + QStringLiteral(".restaurando");
  removePartial(incoming);
  QString reason;
  bool ready = copyWhole(backupFile, incoming, &reason);
  if (ready) {
    const std::optional<QMap<QString, qint64>> counts = soundSqliteCounts(incoming, &reason);
    if (counts) reason = restoreRefusal(*counts, currentSqliteCounts(databaseFile));
    ready = counts && reason.isEmpty();
  }
  if (!ready || ::rename(QFile::encodeName(incoming).constData(),
                         QFile::encodeName(databaseFile).constData()) != 0) {
    removePartial(incoming);
    return refuse(why, reason.isEmpty() ? QStringLiteral("O banco não pôde ser substituído") : reason);
  }
  // A journal of the replaced file must not be played over the restored one.
  for (const char* suffix : {"-journal", "-wal", "-shm"})
    QFile::remove(databaseFile + QString::fromLatin1(suffix));
  return true;
}

namespace {

QString quotedTable(const QString& table) {
  return QStringLiteral("public.\"%1\"").arg(QString(table).replace(QLatin1Char('"'),
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

}  // namespace

bool restorePostgres(const LinkSpec& link, const QString& backupFile, const QString& libraryRoot,
                     QString* why) {
  if (!restorableName(backupFile)) return refuse(why, QStringLiteral("Extensão Inaválida"));
  Connection session(link, Connection::uniqueName(QStringLiteral("restaura")));
  if (!session.open()) return refuse(why, session.lastError());
  int major = 0;
  QMap<QString, qint64> current;
  try {
    major = postgresMajor(
        scalarSql(session.database(), QStringLiteral("SHOW server_version_num")).toString());
    current = postgresRowCounts(session.database());
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
  const std::optional<QMap<QString, qint64>> inDump = dumpRowCounts(*pgRestore, backupFile);
  if (!inDump) return refuse(why, QStringLiteral("O backup não pôde ser lido"));
  const QString refusal = restoreRefusal(*inDump, current);
  if (!refusal.isEmpty()) return refuse(why, refusal);

  // pg_restore writes the dump out as SQL and psql plays it, after dropping the tables the
  // backup did not have, all in one transaction. The script passes through here so that psql is
  // stopped, never left to commit half a script, when pg_restore fails midway.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!link.password.isEmpty()) env.insert(QStringLiteral("PGPASSWORD"), link.password);
  QStringList playArgs{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                       QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("--single-transaction")};
  playArgs << connectionArguments(link);
  const QString drop = dropTablesOutsideDump(current, *inDump);
  if (!drop.isEmpty()) playArgs << QStringLiteral("-c") << drop;
  playArgs << QStringLiteral("-f") << QStringLiteral("-");
  QProcess player;
  player.setProcessEnvironment(env);
  player.setStandardOutputFile(QProcess::nullDevice());
  player.start(*psql, playArgs);
  QProcess script;
  script.start(*pgRestore, {QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                            QStringLiteral("--no-owner"), QStringLiteral("-f"),
                            QStringLiteral("-"), backupFile});
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
  return refuse(why, error.isEmpty() ? QStringLiteral("O backup não pôde ser restaurado") : error);
}

QStringList removeOldBackups(const QString& folder, const QDate& today) {
  QStringList removed;
  const QDir dir(folder);
  for (const QString& name :
       dir.entryList({kBackupPrefix + QStringLiteral("*.bak")}, QDir::Files, QDir::Name))
    if (removedByCleanup(name, today) && QFile::remove(dir.filePath(name))) removed << name;
  // What a backup killed midway left behind is never a backup; a day later it is surely not one
  // still being written.
  for (const QFileInfo& partial :
       dir.entryInfoList({kBackupPrefix + QStringLiteral("*.parcial*")}, QDir::Files))
    if (partial.lastModified().date() < today) QFile::remove(partial.filePath());
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
