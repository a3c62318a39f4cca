// Copies of the workout database that can be trusted: a backup counts only once the copy has
// been opened and holds the same number of rows in every table as the database it was taken
// from.
#pragma once

#include <QDateTime>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/failure.h"

struct LinkSpec;

// A backup of the database open as `db` (reached through `link`) into `folder` (created when
// missing, owner-only), named for `at`: a copy of the whole database that must hold the rows the
// database held at that moment in every table (SQLite: a copy of the file, opened and counted;
// PostgreSQL: pg_dump -Fc, by the newest program at least as new as the server under
// `libraryRoot`, counted in the very snapshot it is taken from). The copy is written under a
// partial name and takes its own only once whole, checked and owner-only. Its path, or nothing
// with the reason in `why` (and no file left behind).
std::optional<QString> backupDatabase(const QSqlDatabase& db, const LinkSpec& link,
                                      const QString& folder, const QDateTime& at,
                                      const QString& libraryRoot, QString* why);

// Puts the database of `link` back to the backup `backupFile`: the name must be a backup's
// ("Extensão Inaválida" otherwise); the backup must prove a whole copy holding the series table,
// with rows when the database has rows; only then does it replace the database (SQLite: a copy
// beside the file renamed over it; PostgreSQL: the dump played in a single transaction that first
// drops the tables the backup did not hold). A refusal or a failure leaves the database as it
// was. The program's connections to the database must be closed first. False with the reason in
// `why`.
bool restoreDatabase(const LinkSpec& link, const QString& backupFile, const QString& libraryRoot,
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
Result<int> purgeSeries(const QSqlDatabase& db, int year);
