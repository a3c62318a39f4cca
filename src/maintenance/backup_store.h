// Copies of the workout database that can be trusted: a backup counts only once the copy has
// been opened and holds the same number of rows in every table as the database it was taken
// from.
#pragma once

#include <QDateTime>
#include <QMap>
#include <QStringList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// Every table of a SQLite database and its row count, by name. Throws SqlError.
QMap<QString, qint64> sqliteRowCounts(const QSqlDatabase& db);

// An online copy of the SQLite database `db` into `folder` (created when missing), named for
// `at`, checked against the database; its path, or nothing with the reason in `why`. The copy
// is written under a partial name and takes its own only once whole, checked and owner-only; a
// copy that fails the check is deleted.
std::optional<QString> backupSqlite(const QSqlDatabase& db, const QString& folder,
                                    const QDateTime& at, QString* why);

struct LinkSpec;

// Every table of the public schema of a PostgreSQL database and its row count. Throws SqlError.
QMap<QString, qint64> postgresRowCounts(const QSqlDatabase& db);

// The row count of each table in a custom-format dump, read back from the dump itself with
// `pgRestore`. Nothing when the file cannot be read as a dump.
std::optional<QMap<QString, qint64>> dumpRowCounts(const QString& pgRestore, const QString& file);

// A dump of the PostgreSQL database of `link` (pg_dump -Fc, the newest program at least as new
// as the server, under `libraryRoot`) into `folder`, named for `at`. The rows are counted in the
// very snapshot the dump is taken from and the dump must hold the same counts. Its path, or
// nothing with the reason in `why` (and no file left behind).
std::optional<QString> backupPostgres(const LinkSpec& link, const QString& folder,
                                      const QDateTime& at, const QString& libraryRoot,
                                      QString* why);

// Puts the SQLite database file `databaseFile` back to the backup `backupFile`: the name must be
// a backup's ("Extensão Inaválida" otherwise); the backup is copied beside the database and that
// copy must open as a sound database holding the series table, with rows when the database has
// rows; only then does it replace the database, in one rename. A refusal leaves the database as
// it was. The program's connections to the database must be closed first. False with the reason
// in `why`.
bool restoreSqlite(const QString& databaseFile, const QString& backupFile, QString* why);

// Puts the PostgreSQL database of `link` back to the dump `backupFile`, after the same checks as
// a SQLite restore made on the dump's own contents. The dump is played in a single transaction
// that first drops the tables the backup did not hold, so the database then holds exactly what
// the backup held; a failure leaves the database as it was. False with the reason in `why`.
bool restorePostgres(const LinkSpec& link, const QString& backupFile, const QString& libraryRoot,
                     QString* why);

class Dialect;

// The fifteen-day clean-up in `folder`: removes the backups the rule names; returns their names.
QStringList removeOldBackups(const QString& folder, const QDate& today);

// Drops the scratch tables left behind (names beginning with "TEMP"); returns their names.
// Throws SqlError.
QStringList dropScratchTables(const QSqlDatabase& db, const Dialect& dialect);

// Empties, for good, every series row and scheduled assembly dated in `year` or before (Aerobica,
// Agendado, Alongamento, Treino), in one transaction: a failure deletes nothing and says
// "Gravando na tabela !" / "Banco de Dados". The number of rows deleted, or nothing.
std::optional<int> purgeSeries(const QSqlDatabase& db, int year);
