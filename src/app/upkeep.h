// The start-up upkeep of the workout database, run by the login dialog each time it opens:
// ATUALIZA_VERSAO brings a database made by an older version up to the current columns and
// tables (and keeps passwords out of plain text), Verifica_Tamanho_Banco keeps the database
// under its size limit by deleting the oldest year of series and shrinking it.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

#include "data/dialect.h"

// Texts of the login dialog's progress label while the upkeep works.
inline const QString kTextoAtualizandoVersao = QStringLiteral("Aguarde...Atualizando de Versão");
inline const QString kTextoExcluindoDadosAntigos =
    QStringLiteral("Aguarde... Excluíndo dados antigos");

// Shows a text in the progress label; an empty text hides the label.
using ProgressSink = std::function<void(const QString&)>;

// True while a long purge runs (the caller shows the hourglass), false when it is over. It is
// switched off before any message box, so no box ever shows with the hourglass.
using BusySink = std::function<void(bool)>;

// The database's size in whole megabytes; nothing when it cannot be read.
using SizeSource = std::function<std::optional<qint64>()>;

// Size limits of the workout database, in megabytes.
inline constexpr qint64 kTamanhoAviso = 1750;   // from here on, a warning
inline constexpr qint64 kTamanhoLimite = 1800;  // above this, the oldest year goes

struct UpgradeReport {
  bool wasCurrent = false;  // the database had every column already
  QList<int> stepsRun;      // the version steps whose statements ran and were committed
  int failedStep = 0;       // the step that failed and was rolled back; 0 when none did
  int indexesAdded = 0;     // grid indexes the database lacked, created in one transaction
  bool indexesFailed = false;
  int passwordsHashed = 0;  // users whose plain-text password was replaced by its hash
  bool passwordsFailed = false;
  QString unreadable;  // why the database could not be read at all (then nothing was tried)
  bool ok() const {
    return failedStep == 0 && !indexesFailed && !passwordsFailed && unreadable.isEmpty();
  }
};

// Brings the workout database up to date: six steps, each adding its columns (or the
// muscle-group table) in one transaction when its probe column is missing, then the grid
// indexes it lacks (one transaction), then the password migration. A failure hides the label, rolls
// that step back, says "Gravando na tabela !" and skips what is left; the steps committed before
// stay. False on failure (the login goes on). `report`, when given, receives what was done.
bool ATUALIZA_VERSAO(const QSqlDatabase& db, const Dialect& dialect,
                     const ProgressSink& progress = {}, UpgradeReport* report = nullptr);

// Replaces every stored password that is not yet one of our hashes by its hash, in one
// transaction, after widening Usuarios.SENHA to the schema's size where the server enforces
// sizes. Empty passwords stay empty: nobody can log in with them, and a hash of "" would let
// an empty password in. On failure rolls back, says "Gravando na tabela !" / "Usuarios" and
// returns nothing; otherwise the number of passwords hashed.
std::optional<int> MIGRA_SENHAS(const QSqlDatabase& db, const Dialect& dialect);

// Makes Usuarios.CODIGO unique where it is not yet. Codes already stored twice are named in
// the log and the table is left as it is (false then, as after a failure).
bool ensureUniqueUserCodes(const QSqlDatabase& db, const Dialect& dialect);

// The real size source: the dialect's size query, bytes turned into whole megabytes. A failure
// is written to the log and gives nothing.
SizeSource databaseSize(const QSqlDatabase& db, const Dialect& dialect);

struct SizeCheckReport {
  std::optional<qint64> sizeMb;   // nothing: the size could not be read
  std::optional<int> purgedYear;  // the year deleted, once the deletes are committed
  bool shrunk = false;
  bool ok = true;  // false when the purge or the shrink failed
};

// The size policy: from 1750 to 1800 MB a warning; above 1800 MB a warning, then the oldest
// year of Treino (rows without a date do not count) is deleted from Aerobica, Agendado,
// Alongamento and Treino in one transaction, the database is shrunk and "Fim de Processo !"
// is shown. One year per call. An unreadable size ends the check with a line in the log.
SizeCheckReport Verifica_Tamanho_Banco(const QSqlDatabase& db, const Dialect& dialect,
                                       const SizeSource& size, const ProgressSink& progress = {},
                                       const BusySink& busy = {});
