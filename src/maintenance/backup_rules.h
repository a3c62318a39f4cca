// The rules of the workout database's backups that need neither a database nor a window: how a
// backup file is named, which names a restore accepts, which old backups the fifteen-day
// clean-up removes, and which tables are scratch tables left behind.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

inline const QString kBackupPrefix = QStringLiteral("Vantrel");

// Details of "Dado INCORRETO !" for a file that is not a backup and a year that may not be
// emptied.
inline const QString kExtensaoInvalida = QStringLiteral("Extensão Inaválida");
inline const QString kAnoNaoPodeSerEsvaziado = QStringLiteral("Ano selecionado não pode ser esvaziado");

// "Vantrel" + "YYYYMMDDHHMMSS" + ".bak".
QString backupFileName(const QDateTime& at);

// A restore takes only a file named like a backup: the path ends in "BAK" (any case) and its
// last 25 characters begin with the prefix. A purge's backup ("…-2019.bak") is refused.
bool restorableName(const QString& path);

// The fifteen-day clean-up: a file named the prefix plus exactly 18 characters, ending in
// ".bak", whose eight characters after the prefix read as a date number not after today less
// fifteen days (YYYYMMDD). Other files, purge backups among them, are never removed.
bool removedByCleanup(const QString& fileName, const QDate& today);

// The tables a backup drops first: those whose name, in upper case, begins with "TEMP".
QStringList scratchTables(const QStringList& tables);

// The backup a purge makes first: the backup name with "-" and the purged year before ".bak",
// so the fifteen-day clean-up never removes it and no restore takes it by mistake.
QString purgeBackupFileName(const QDateTime& at, int year);

// The year as typed in the purge window: "19" is 2019, "2019" stays; nothing when it is not a
// year.
std::optional<int> typedYear(const QString& text);

// Only years up to two before the current one may be emptied.
bool purgeAllowed(int year, const QDate& today);

// A backup is written under this name beside its final one and renamed only once it is whole
// and checked, so a backup cut short never carries a name a restore accepts.
QString partialBackupPath(const QString& finalPath);

// Why a backup may not replace the database, from the row count of every table of each (names
// in any case): it must hold the series table, and it may not be empty where the database holds
// rows (an empty file opens as an empty database and would wipe the gym's data). Empty when it
// may.
QString restoreRefusal(const QMap<QString, qint64>& backup, const QMap<QString, qint64>& database);
