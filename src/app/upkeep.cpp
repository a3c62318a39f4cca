#include "app/upkeep.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "base/error_log.h"
#include "base/messages.h"
#include "base/password.h"
#include "base/prompter.h"
#include "data/schema.h"
#include "data/sql.h"

namespace {

const QString kDetalheBanco = QStringLiteral("Banco de Dados");
const QString kTabelaUsuarios = QStringLiteral("Usuarios");
const QString kNao = QStringLiteral("Não");
constexpr qint64 kBytesPorMegabyte = 1024 * 1024;

void show(const ProgressSink& progress, const QString& text) {
  if (progress) progress(text);
}

void setBusy(const BusySink& busy, bool on) {
  if (busy) busy(on);
}

void reportWriteFailure(const QString& detail, const SqlError& error) {
  appendToLog(QStringLiteral("Gravando na tabela %1: %2").arg(detail, error.text()));
  MENSAGEM(QStringLiteral("!"), Msg::GravandoNaTabela, detail);
}

// ---------------------------------------------------------------------------------------------
// Version steps

// One change a version step makes to the database.
struct Change {
  enum class Kind { AddColumn, SetValue, CreateTable };
  Kind kind;
  QString table;
  QString column;
  QVariant value;
};

Change add(const char* table, const char* column) {
  return {Change::Kind::AddColumn, QString::fromLatin1(table), QString::fromLatin1(column), {}};
}

Change set(const char* table, const char* column, const QVariant& value) {
  return {Change::Kind::SetValue, QString::fromLatin1(table), QString::fromLatin1(column), value};
}

Change create(const char* table) {
  return {Change::Kind::CreateTable, QString::fromLatin1(table), {}, {}};
}

struct VersionStep {
  int number;
  QString probe;  // a Secvar column that exists once the step has run
  QList<Change> changes;
};

// Each version of the program added these columns, in this order; a database made by an
// older version lacks the steps after its own. The column types come from the table
// definitions, so an upgraded database ends up with the very columns of a new one.
const QList<VersionStep>& versionSteps() {
  static const QList<VersionStep> steps = {
      {1,
       QStringLiteral("PINPAD"),
       {add("Secvar", "PINPAD"), add("Secvar", "STOPBIT"), add("Secvar", "VELOCIDADE"),
        add("Secvar", "DATABIT"), add("Secvar", "PARIDADE"),
        set("Secvar", "PINPAD", QStringLiteral("NADA")),
        set("Secvar", "STOPBIT", QStringLiteral("1")), set("Secvar", "VELOCIDADE", 2400),
        set("Secvar", "DATABIT", QStringLiteral("8")),
        set("Secvar", "PARIDADE", QStringLiteral("NADA"))}},
      {2,
       QStringLiteral("IdSMTP_UseTLS"),
       {add("Secvar", "IdSMTP_UseTLS"),
        set("Secvar", "IdSMTP_UseTLS", QStringLiteral("utUseExplicitTLS"))}},
      {3,
       QStringLiteral("Portal_Cenection"),
       {add("Secvar", "Portal_Cenection"), set("Secvar", "Portal_Cenection", kNao)}},
      {4,
       QStringLiteral("Troca_Serie"),
       {add("Secvar", "Troca_Serie"), set("Secvar", "Troca_Serie", QStringLiteral("Meses"))}},
      {5,
       QStringLiteral("GrupamentoMuscular"),
       {add("Secvar", "GrupamentoMuscular"), set("Secvar", "GrupamentoMuscular", kNao),
        add("Usuarios", "C_GrupamentoMuscular"), set("Usuarios", "C_GrupamentoMuscular", kNao),
        create("GrupamentoMuscular"), add("Exercicios", "CODIGO_G")}},
      {6,
       QStringLiteral("TrocaDataSerie"),
       {add("Secvar", "TrocaDataSerie"), set("Secvar", "TrocaDataSerie", kNao),
        add("Secvar", "Tec12USB"), set("Secvar", "Tec12USB", kNao),
        add("Secvar", "Vincula_prof_usu"), set("Secvar", "Vincula_prof_usu", kNao),
        add("Usuarios", "Matricula")}},
  };
  return steps;
}

// The column that the last step adds: with it, the database is current.
const QString& currentProbe() {
  return versionSteps().last().probe;
}

// A column is missing exactly when a query that reads it cannot run.
bool columnExists(const QSqlDatabase& db, const QString& column) {
  return sqlRuns(db, QStringLiteral("SELECT %1 FROM Secvar").arg(column));
}

const TableDef& schemaTable(const QString& table) {
  const TableDef* def = findTable(Database::Workout, table);
  if (!def) throw SqlError(QStringLiteral("tabela %1 sem definição").arg(table));
  return *def;
}

const ColumnDef& schemaColumn(const QString& table, const QString& column) {
  const ColumnDef* def = schemaTable(table).column(column);
  if (!def) throw SqlError(QStringLiteral("coluna %1.%2 sem definição").arg(table, column));
  return *def;
}

void addColumn(const QSqlDatabase& db, const Dialect& dialect, const Change& change) {
  const ColumnDef& column = schemaColumn(change.table, change.column);
  runSql(db, dialect.addColumnSql(sqlIdentifier(change.table), sqlIdentifier(column.name),
                                  dialect.columnType(column.type, column.size)));
}

void setValue(const QSqlDatabase& db, const Change& change) {
  runSql(db,
         QStringLiteral("UPDATE %1 SET %2 = ?")
             .arg(sqlIdentifier(change.table), sqlIdentifier(change.column)),
         {change.value});
}

// A table that is already there is left alone: `vantrel init` creates every missing table of
// an older installation without adding its missing columns, and a step that insisted on
// creating the table again would then fail at every start.
void createTableIfMissing(const QSqlDatabase& db, const Dialect& dialect, const Change& change) {
  const TableDef& table = schemaTable(change.table);
  if (existingTables(db, dialect).contains(table.name.toLower())) return;
  runSql(db, createTableSql(table, dialect));
  for (const QString& sql : createIndexSql(table, dialect)) runSql(db, sql);
}

void apply(const QSqlDatabase& db, const Dialect& dialect, const Change& change) {
  switch (change.kind) {
    case Change::Kind::AddColumn:
      return addColumn(db, dialect, change);
    case Change::Kind::SetValue:
      return setValue(db, change);
    case Change::Kind::CreateTable:
      return createTableIfMissing(db, dialect, change);
  }
}

void applyStep(const QSqlDatabase& db, const Dialect& dialect, const VersionStep& step) {
  Transaction transaction(db);
  for (const Change& change : step.changes) apply(db, dialect, change);
  transaction.commit();
}

void runVersionSteps(const QSqlDatabase& db, const Dialect& dialect, const ProgressSink& progress,
                     UpgradeReport& report) {
  show(progress, kTextoAtualizandoVersao);
  for (const VersionStep& step : versionSteps()) {
    if (columnExists(db, step.probe)) continue;
    try {
      applyStep(db, dialect, step);  // rolled back by its guard when it throws
      report.stepsRun << step.number;
    } catch (const SqlError& e) {
      show(progress, QString());
      report.failedStep = step.number;
      reportWriteFailure(kDetalheBanco, e);
      return;
    }
  }
  show(progress, QString());
}

// ---------------------------------------------------------------------------------------------
// Grid indexes

// The grids read their pages by key in each of their orders; a database made before those
// indexes existed gets them here. Looking at the names first keeps a current database from
// taking a lock on each grid table at every start.
int addGridIndexes(const QSqlDatabase& db, const Dialect& dialect) {
  const QStringList tables = existingTables(db, dialect);
  const QStringList indexes = existingIndexes(db, dialect);
  QList<GridIndex> missing;
  for (const GridIndex& grid : gridIndexes())
    if (tables.contains(grid.table.toLower()) && !indexes.contains(grid.index.name.toLower()))
      missing << grid;
  if (missing.isEmpty()) return 0;
  Transaction transaction(db);
  for (const GridIndex& grid : missing) runSql(db, createGridIndexSql(grid));
  transaction.commit();
  return int(missing.size());
}

void runGridIndexStep(const QSqlDatabase& db, const Dialect& dialect, UpgradeReport& report) {
  try {
    report.indexesAdded = addGridIndexes(db, dialect);
  } catch (const SqlError& e) {
    report.indexesFailed = true;
    reportWriteFailure(kDetalheBanco, e);
  }
}

// ---------------------------------------------------------------------------------------------
// Passwords

// SQLite keeps text of any length in any text column; PostgreSQL refuses text longer than an
// older database gave the column (a password hash in six characters, a device path in the four
// of "LPT1"): such a column gets the width of a new database's.
void widenColumn(const QSqlDatabase& db, const Dialect& dialect, const QString& table,
                 const QString& column) {
  const std::optional<int> width = dialect.enforcedTextWidth(db, table, column);
  if (!width) return;
  const ColumnDef& def = schemaColumn(table, column);
  if (*width >= def.size) return;
  runSql(db, QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3")
                 .arg(table, column, dialect.columnType(def.type, def.size)));
}

void widenPasswordColumn(const QSqlDatabase& db, const Dialect& dialect) {
  widenColumn(db, dialect, kTabelaUsuarios, QStringLiteral("SENHA"));
}

// The receipt printer's port may be a device path or a file, not only "LPT1".
void widenPortColumn(const QSqlDatabase& db, const Dialect& dialect) {
  try {
    widenColumn(db, dialect, QStringLiteral("Secvar"), QStringLiteral("PORTA_IMP"));
  } catch (const SqlError& e) {
    appendToLog(QStringLiteral("Secvar: PORTA_IMP não alargada: %1").arg(e.text()));
  }
}

struct StoredPassword {
  QString code;  // empty also for a user without a code
  QString password;
};

QList<StoredPassword> plainPasswords(const QSqlDatabase& db) {
  QSqlQuery query =
      runSql(db, QStringLiteral("SELECT CODIGO, SENHA FROM Usuarios ORDER BY CODIGO"));
  QList<StoredPassword> found;
  QSet<QString> seen;
  while (query.next()) {
    const QString code = query.value(0).toString();
    const QString password = query.value(1).toString();
    if (password.isEmpty() || isPasswordHash(password)) continue;
    // Users sharing code and password are rewritten by one UPDATE.
    const QString key = code + QChar(0) + password;
    if (seen.contains(key)) continue;
    seen.insert(key);
    found << StoredPassword{code, password};
  }
  return found;
}

// The UPDATE matches the plain text it replaces, so a row that another workstation migrated a
// moment earlier no longer matches and keeps its hash. A missing code and an empty one are
// matched alike: Qt may hand either back as the same empty text.
int rehash(const QSqlDatabase& db, const StoredPassword& stored, const QString& hash) {
  const QSqlQuery query =
      runSql(db,
             QStringLiteral("UPDATE Usuarios SET SENHA = ? WHERE COALESCE(CODIGO, "
                            "'') = COALESCE(?, '') AND SENHA = ?"),
             {hash, stored.code, stored.password});
  return query.numRowsAffected();
}

int hashPlainPasswords(const QSqlDatabase& db) {
  int hashed = 0;
  for (const StoredPassword& stored : plainPasswords(db)) {
    const QString hash = hashPassword(stored.password);
    if (!isPasswordHash(hash)) throw SqlError(QStringLiteral("senha não pôde ser protegida"));
    hashed += rehash(db, stored, hash);
  }
  return hashed;
}

// ---------------------------------------------------------------------------------------------
// Size

// The purge deletes one year from these tables, in this order.
const char* const kSeriesTables[] = {"Aerobica", "Agendado", "Alongamento", "Treino"};

void warnSize(const QString& text, qint64 sizeMb) {
  MENSAGEM(QStringLiteral("!"), text, QStringLiteral("Tamanho: %1 MB").arg(sizeMb));
}

// Rows without a date belong to no year, so they never decide which year goes.
std::optional<int> oldestSeriesYear(const QSqlDatabase& db, const Dialect& dialect) {
  const QVariant year =
      scalarSql(db, QStringLiteral("SELECT MIN(%1) FROM Treino WHERE Data IS NOT NULL")
                        .arg(dialect.yearOf(QStringLiteral("Data"))));
  if (year.isNull()) return std::nullopt;
  return year.toInt();
}

void deleteYear(const QSqlDatabase& db, const Dialect& dialect, int year) {
  Transaction transaction(db);
  for (const char* table : kSeriesTables)
    runSql(db,
           QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
               .arg(QLatin1String(table), dialect.yearOf(QStringLiteral("Data"))),
           {year});
  transaction.commit();
}

void shrink(const QSqlDatabase& db, const Dialect& dialect) {
  for (const QString& sql : dialect.shrinkSql()) runSql(db, sql);
}

void purgeOldestYear(const QSqlDatabase& db, const Dialect& dialect, const ProgressSink& progress,
                     const BusySink& busy, SizeCheckReport& report) {
  std::optional<int> year;
  try {
    year = oldestSeriesYear(db, dialect);
  } catch (const SqlError& e) {
    // A read, not a write: like any other unexpected error it only goes to the log.
    appendToLog(QStringLiteral("Verifica_Tamanho_Banco: %1").arg(e.text()));
    report.ok = false;
    return;
  }
  if (!year) return;

  show(progress, kTextoExcluindoDadosAntigos);
  setBusy(busy, true);
  try {
    deleteYear(db, dialect, *year);
    report.purgedYear = year;
    shrink(db, dialect);
    report.shrunk = true;
  } catch (const SqlError& e) {
    setBusy(busy, false);
    report.ok = false;
    reportWriteFailure(kDetalheBanco, e);
    return;
  }
  setBusy(busy, false);
  MENSAGEM(QStringLiteral("!"), Msg::FimDeProcesso);
}

}  // namespace

bool ATUALIZA_VERSAO(const QSqlDatabase& db, const Dialect& dialect, const ProgressSink& progress,
                     UpgradeReport* out) {
  UpgradeReport report;
  // A file that is not a database (or a server that refuses to list its tables) is told
  // as what it is, not as a failed write.
  QSqlQuery tables(db);
  if (!tables.exec(dialect.listTablesSql())) {
    report.unreadable = tables.lastError().text();
    appendToLog(QStringLiteral("Banco de treinos ilegível: %1").arg(report.unreadable));
    MENSAGEM(QStringLiteral("!"), Msg::EntreEmContato,
             QStringLiteral("Banco de Dados ilegível: %1").arg(report.unreadable));
    if (out) *out = report;
    return false;
  }
  tables.finish();
  report.wasCurrent = columnExists(db, currentProbe());
  if (!report.wasCurrent) runVersionSteps(db, dialect, progress, report);
  if (report.failedStep == 0) runGridIndexStep(db, dialect, report);
  if (report.failedStep == 0) {
    const std::optional<int> hashed = MIGRA_SENHAS(db, dialect);
    report.passwordsHashed = hashed.value_or(0);
    report.passwordsFailed = !hashed;
    ensureUniqueUserCodes(db, dialect);
    widenPortColumn(db, dialect);
  }
  if (out) *out = report;
  return report.ok();
}

// Databases made before user codes were unique get the unique index, unless two users
// already share a code: then the table is left alone and the codes are named in the log, so
// the gym can sort them out (a login takes whichever of them comes first).
bool ensureUniqueUserCodes(const QSqlDatabase& db, const Dialect& dialect) {
  const QString index = QStringLiteral("IX_Usuarios_CODIGO");
  if (!sqlRuns(db, QStringLiteral("SELECT CODIGO FROM Usuarios WHERE 1 = 0"))) return true;
  try {
    if (scalarSql(db, dialect.uniqueIndexCountSql(), {index}).toInt() > 0) return true;
    QSqlQuery shared = runSql(db, QStringLiteral("SELECT CODIGO, COUNT(*) FROM Usuarios GROUP BY "
                                                 "CODIGO HAVING COUNT(*) > 1 ORDER BY CODIGO"));
    QStringList codes;
    while (shared.next())
      codes << QStringLiteral("%1 (%2 vezes)")
                   .arg(shared.value(0).toString(), shared.value(1).toString());
    if (!codes.isEmpty()) {
      appendToLog(QStringLiteral("Usuarios: códigos repetidos, índice único não criado: %1")
                      .arg(codes.join(QStringLiteral(", "))));
      return false;
    }
    Transaction transaction(db);
    runSql(db, QStringLiteral("DROP INDEX IF EXISTS %1").arg(index));
    runSql(db, QStringLiteral("CREATE UNIQUE INDEX %1 ON Usuarios (CODIGO)").arg(index));
    transaction.commit();
    return true;
  } catch (const SqlError& e) {
    appendToLog(QStringLiteral("Usuarios: índice único não criado: %1").arg(e.text()));
    return false;
  }
}

std::optional<int> MIGRA_SENHAS(const QSqlDatabase& db, const Dialect& dialect) {
  // Without a users table there is nothing to protect; the login reports the table itself.
  if (!sqlRuns(db, QStringLiteral("SELECT SENHA FROM Usuarios WHERE 1 = 0"))) return 0;
  try {
    Transaction transaction(db);
    widenPasswordColumn(db, dialect);
    const int hashed = hashPlainPasswords(db);
    transaction.commit();
    return hashed;
  } catch (const SqlError& e) {
    reportWriteFailure(kTabelaUsuarios, e);
    return std::nullopt;
  }
}

SizeSource databaseSize(const QSqlDatabase& db, const Dialect& dialect) {
  const QString sizeSql = dialect.sizeSql();
  return [db, sizeSql]() -> std::optional<qint64> {
    try {
      const QVariant bytes = scalarSql(db, sizeSql);
      bool number = false;
      const qint64 value = bytes.toLongLong(&number);
      if (!number || value < 0)
        throw SqlError(QStringLiteral("valor inesperado \"%1\"").arg(bytes.toString()));
      return value / kBytesPorMegabyte;
    } catch (const SqlError& e) {
      appendToLog(QStringLiteral("Tamanho do banco de dados: %1").arg(e.text()));
      return std::nullopt;
    }
  };
}

SizeCheckReport Verifica_Tamanho_Banco(const QSqlDatabase& db, const Dialect& dialect,
                                       const SizeSource& size, const ProgressSink& progress,
                                       const BusySink& busy) {
  SizeCheckReport report;
  report.sizeMb = size ? size() : std::nullopt;
  if (!report.sizeMb) {
    appendToLog(QStringLiteral(
        "Verifica_Tamanho_Banco: o tamanho do banco de dados não pôde ser lido; nada foi feito"));
    report.ok = false;
  } else if (*report.sizeMb > kTamanhoLimite) {
    warnSize(Msg::ExcedeuDoLimite, *report.sizeMb);
    purgeOldestYear(db, dialect, progress, busy, report);
  } else if (*report.sizeMb >= kTamanhoAviso) {
    warnSize(Msg::ProximoDoLimite, *report.sizeMb);
  }
  show(progress, QString());
  return report;
}
