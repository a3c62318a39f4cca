// Where the PostgreSQL dump and restore programs are. A dump made by a program older than the
// server is refused by the server's data, so only a program of at least the server's major
// version will do; Debian keeps one set per version under its PostgreSQL library folder.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// The major version in a server_version_num (150018 → 15) or a "pg_dump (PostgreSQL) 15.18"
// line; 0 when it reads as neither.
int postgresMajor(const QString& text);

// The newest `tool` ("pg_dump", "pg_restore") under `libraryRoot` (normally
// /usr/lib/postgresql: one folder per major version, each with bin/) whose version is at least
// `serverMajor`. Nothing when none is, with the reason in the program's words in `why`, naming
// the server's version and the newest one found.
std::optional<QString> findPostgresTool(const QString& tool, int serverMajor,
                                        const QString& libraryRoot, QString* why);

// The row count of each table in a custom-format dump, read back from the dump itself with
// `pgRestore`. Nothing when the file cannot be read as a dump.
std::optional<QMap<QString, qint64>> dumpRowCounts(const QString& pgRestore, const QString& file);
