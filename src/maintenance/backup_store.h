// Copies of the workout database that can be trusted: a backup counts only once the copy has
// been opened and holds the same number of rows in every table as the database it was taken
// from.
#pragma once

#include <QDateTime>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// Every table of a SQLite database and its row count, by name. Throws SqlError.
QMap<QString, qint64> sqliteRowCounts(const QSqlDatabase& db);

// An online copy of the SQLite database `db` into `folder` (created when missing), named for
// `at`, checked against the database; its path, or nothing with the reason in `why`. A copy
// that fails the check is deleted.
std::optional<QString> backupSqlite(const QSqlDatabase& db, const QString& folder,
                                    const QDateTime& at, QString* why);
