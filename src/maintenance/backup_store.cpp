#include "maintenance/backup_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <cstdio>

#include "base/installation_folder.h"
#include "data/database_files.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "maintenance/backup_rules.h"

namespace {

// A partial backup becomes the backup: owner-only, on disk, then renamed in one step.
bool promotePartial(const QString& partial, const QString& file, QString* reason) {
  makePrivateFile(partial);
  if (!syncFileToDisk(partial) ||
      ::rename(QFile::encodeName(partial).constData(), QFile::encodeName(file).constData()) != 0) {
    *reason = QStringLiteral("O backup não pôde ser gravado como %1").arg(file);
    return false;
  }
  return true;
}

bool refuse(QString* why, const QString& reason) {
  if (why) *why = reason;
  return false;
}

}  // namespace

std::optional<QString> backupDatabase(const QSqlDatabase& db, const LinkSpec& link,
                                      const QString& folder, const QDateTime& at,
                                      const QString& libraryRoot, QString* why) {
  const auto fail = [&](const QString& reason) -> std::optional<QString> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (!makePrivateFolder(folder))
    return fail(QStringLiteral("Pasta de backup não pôde ser criada"));
  const QString file = QDir(folder).filePath(backupFileName(at));
  if (QFile::exists(file)) return fail(QStringLiteral("Já existe um backup com este nome"));
  const QString partial = partialBackupPath(file);
  removeDatabaseFiles(partial);
  QString reason;
  try {
    Dialect::of(link.provider).writeCheckedCopy(db, link, partial, libraryRoot);
    if (promotePartial(partial, file, &reason)) return file;
  } catch (const SqlError& e) {
    reason = e.text();
  }
  removeDatabaseFiles(partial);
  return fail(reason);
}

bool restoreDatabase(const LinkSpec& link, const QString& backupFile, const QString& libraryRoot,
                     QString* why) {
  if (!restorableName(backupFile)) return refuse(why, QStringLiteral("Extensão Inaválida"));
  return Dialect::of(link.provider).restoreCopy(link, backupFile, libraryRoot, restoreRefusal, why);
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
    runSql(db, QStringLiteral("DROP TABLE \"%1\"")
                   .arg(QString(table).replace(QLatin1Char('"'), QStringLiteral("\"\""))));
  return scratch;
}

Result<int> purgeSeries(const QSqlDatabase& db, int year) {
  int deleted = 0;
  const QDate after(year + 1, 1, 1);
  const Outcome done = writeInTransaction(db, QStringLiteral("Banco de Dados"), [&] {
    for (const char* table : {"Aerobica", "Agendado", "Alongamento", "Treino"}) {
      QSqlQuery removed = runSql(
          db, QStringLiteral("DELETE FROM %1 WHERE Data < ?").arg(QString::fromLatin1(table)),
          {after});
      deleted += qMax(0, removed.numRowsAffected());
    }
  });
  if (!done) return done.failure();
  return deleted;
}
