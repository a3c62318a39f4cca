#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

#include "app/upkeep.h"
#include "app/upkeep_command.h"
#include "base/error_log.h"
#include "base/messages.h"
#include "base/password.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/schema.h"
#include "data/sql.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QString kNao = QStringLiteral("Não");

// ---------------------------------------------------------------------------------------------
// Older databases

// What each version step adds, the value the step gives it, and a value an older version's
// user may have stored meanwhile (which a step that has nothing to do must leave alone).
struct StepColumn {
  int step;
  QString table;
  QString column;
  QVariant added;  // null: the step adds the column without a value
  QVariant older;
};

const QList<StepColumn>& stepColumns() {
  static const QList<StepColumn> columns = {
      {1, "Secvar", "PINPAD", QStringLiteral("NADA"), QStringLiteral("COM1")},
      {1, "Secvar", "STOPBIT", QStringLiteral("1"), QStringLiteral("2")},
      {1, "Secvar", "VELOCIDADE", 2400, 9600},
      {1, "Secvar", "DATABIT", QStringLiteral("8"), QStringLiteral("7")},
      {1, "Secvar", "PARIDADE", QStringLiteral("NADA"), QStringLiteral("PAR")},
      {2, "Secvar", "IdSMTP_UseTLS", QStringLiteral("utUseExplicitTLS"),
       QStringLiteral("utNoTLSSupport")},
      {3, "Secvar", "Portal_Cenection", kNao, QStringLiteral("Sim")},
      {4, "Secvar", "Troca_Serie", QStringLiteral("Meses"), QStringLiteral("Dias")},
      {5, "Secvar", "GrupamentoMuscular", kNao, QStringLiteral("Sim")},
      {5, "Usuarios", "C_GrupamentoMuscular", kNao, QStringLiteral("Sim")},
      {5, "Exercicios", "CODIGO_G", QVariant(), QStringLiteral("01")},
      {6, "Secvar", "TrocaDataSerie", kNao, QStringLiteral("Sim")},
      {6, "Secvar", "Tec12USB", kNao, QStringLiteral("Sim")},
      {6, "Secvar", "Vincula_prof_usu", kNao, QStringLiteral("Sim")},
      {6, "Usuarios", "Matricula", QVariant(), QStringLiteral("0000000007")},
  };
  return columns;
}

bool addedFrom(int firstMissingStep, const QString& table, const QString& column) {
  for (const StepColumn& c : stepColumns())
    if (c.step >= firstMissingStep && c.table.compare(table, Qt::CaseInsensitive) == 0 &&
        c.column.compare(column, Qt::CaseInsensitive) == 0)
      return true;
  return false;
}

// The workout tables as the version before `firstMissingStep` made them: without the columns of
// that step and the later ones, without the muscle-group table before step 5, with the six
// characters the typed password used to be stored in and the four of the printer's port.
QList<TableDef> olderTables(int firstMissingStep) {
  QList<TableDef> tables;
  for (TableDef table : tablesOf(Database::Workout)) {
    if (firstMissingStep <= 5 && table.name == QLatin1String("GrupamentoMuscular")) continue;
    table.columns.removeIf(
        [&](const ColumnDef& c) { return addedFrom(firstMissingStep, table.name, c.name); });
    for (ColumnDef& c : table.columns) {
      if (c.name == QLatin1String("SENHA")) c.size = 6;
      if (c.name == QLatin1String("PORTA_IMP")) c.size = 4;  // "LPT1" and no device path
    }
    tables << table;
  }
  return tables;
}

// A settings row, two users (one with a plain password, one without any), one exercise, and
// the older values of the columns the database already has.
void seedOlderRows(const QSqlDatabase& db, int firstMissingStep) {
  runSql(db, QStringLiteral("INSERT INTO Secvar (ACADEMIA, AlunosAtivos) VALUES (?, ?)"),
         {QStringLiteral("Academia Velha"), QStringLiteral("Sim")});
  runSql(
      db,
      QStringLiteral("INSERT INTO Usuarios (CODIGO, NOME, SENHA, C_ALUNOS) VALUES "
                     "(?, ?, ?, ?), (?, ?, ?, ?)"),
      {QStringLiteral("01"), QStringLiteral("ANA"), QStringLiteral("ABC123"), QStringLiteral("Sim"),
       QStringLiteral("02"), QStringLiteral("BIA"), QString(""), QStringLiteral("Não")});
  runSql(db, QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao) VALUES (?, ?)"),
         {QStringLiteral("001"), QStringLiteral("SUPINO RETO")});
  for (const StepColumn& c : stepColumns())
    if (c.step < firstMissingStep)
      runSql(db, QStringLiteral("UPDATE %1 SET %2 = ?").arg(c.table, c.column), {c.older});
}

void makeOlderDatabase(const QSqlDatabase& db, const Dialect& dialect, int firstMissingStep) {
  const SchemaReport schema = createMissingTables(db, dialect, olderTables(firstMissingStep));
  ASSERT_TRUE(schema.ok()) << schema.error.toStdString();
  seedOlderRows(db, firstMissingStep);
}

QVariantList valuesOf(const QSqlDatabase& db, const QString& table, const QString& column) {
  QSqlQuery query = runSql(db, QStringLiteral("SELECT %1 FROM %2").arg(column, table));
  QVariantList values;
  while (query.next()) values << query.value(0);
  return values;
}

bool sameValue(const QVariant& actual, const QVariant& expected) {
  if (expected.isNull()) return actual.isNull();
  if (expected.typeId() == QMetaType::Int) return actual.toInt() == expected.toInt();
  return !actual.isNull() && actual.toString() == expected.toString();
}

QString storedPassword(const QSqlDatabase& db, const QString& code) {
  return scalarSql(db, QStringLiteral("SELECT SENHA FROM Usuarios WHERE CODIGO = ?"), {code})
      .toString();
}

// Every column of the table with its declared type, sorted: what a new database would have.
QStringList columnsOf(const QSqlDatabase& db, Provider provider, const QString& table) {
  QStringList columns;
  QSqlQuery query =
      provider == Provider::SQLite
          ? runSql(db, QStringLiteral("SELECT name, type, '' FROM pragma_table_info(?)"),
                   {table.toLower()})
          : runSql(db,
                   QStringLiteral("SELECT column_name, data_type, character_maximum_length "
                                  "FROM information_schema.columns "
                                  "WHERE table_schema = current_schema() AND table_name = ?"),
                   {table.toLower()});
  while (query.next())
    columns << QStringLiteral("%1 %2 %3")
                   .arg(query.value(0).toString().toLower(), query.value(1).toString().toLower(),
                        query.value(2).toString());
  columns.sort();
  return columns;
}

// ---------------------------------------------------------------------------------------------
// Real failures: a trigger that refuses a write, removed again when the test says so

struct Blocker {
  QString table;
  QString event;         // "UPDATE" or "DELETE"
  QString sqliteWhen;    // condition on the SQLite row
  QString postgresWhen;  // the same in PL/pgSQL
};

void installBlocker(const QSqlDatabase& db, Provider provider, const Blocker& b) {
  if (provider == Provider::SQLite) {
    runSql(db, QStringLiteral("CREATE TRIGGER bloqueia_%1 BEFORE %2 ON %1 WHEN %3 "
                              "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END")
                   .arg(b.table, b.event, b.sqliteWhen));
    return;
  }
  runSql(db, QStringLiteral("CREATE FUNCTION bloqueia_%1() RETURNS trigger LANGUAGE plpgsql AS $$ "
                            "BEGIN IF %2 THEN RAISE EXCEPTION 'bloqueado'; END IF; "
                            "RETURN COALESCE(NEW, OLD); END $$")
                 .arg(b.table, b.postgresWhen));
  runSql(db, QStringLiteral("CREATE TRIGGER bloqueia_%1 BEFORE %2 ON %1 FOR EACH ROW "
                            "EXECUTE FUNCTION bloqueia_%1()")
                 .arg(b.table, b.event));
}

void removeBlocker(const QSqlDatabase& db, Provider provider, const Blocker& b) {
  runSql(db, provider == Provider::SQLite
                 ? QStringLiteral("DROP TRIGGER bloqueia_%1").arg(b.table)
                 : QStringLiteral("DROP TRIGGER bloqueia_%1 ON %1").arg(b.table));
}

// Refuses the first write to Secvar.Portal_Cenection, which only exists from step 3 on, so
// steps 1 and 2 go through and step 3 fails on its own statement.
const Blocker kBlockStep3{QStringLiteral("Secvar"), QStringLiteral("UPDATE"),
                          QStringLiteral("(SELECT COUNT(*) FROM pragma_table_info('secvar') "
                                         "WHERE lower(name) = 'portal_cenection') > 0"),
                          QStringLiteral("to_jsonb(NEW) -> 'portal_cenection' IS NOT NULL")};

// ---------------------------------------------------------------------------------------------

class UpkeepTest : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    testPrompter().onAsk = nullptr;
    connection_ = database_.connect();
    db_ = connection_->database();
  }
  void TearDown() override {
    testPrompter().onAsk = nullptr;
    testPrompter().clear();
  }

  Provider provider() const { return GetParam(); }
  const Dialect& dialect() const { return connection_->dialect(); }

  // Runs the upgrade, recording the label texts it shows.
  UpgradeReport upgrade(const QSqlDatabase& db, bool* ok = nullptr) {
    labels_.clear();
    UpgradeReport report;
    const bool result = ATUALIZA_VERSAO(
        db, dialect(), [this](const QString& text) { labels_ << text; }, &report);
    if (ok) *ok = result;
    return report;
  }

  TestInstallation home_;  // the log goes to a folder of its own
  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
  QStringList labels_;
};

TEST_P(UpkeepTest, AnOlderDatabaseGetsTheMissingStepsInOrderAndKeepsItsRows) {
  for (int first : {1, 4, 6}) {
    SCOPED_TRACE(testing::Message() << "older than step " << first);
    TestDatabase older(provider());
    auto connection = older.connect();
    const QSqlDatabase db = connection->database();
    makeOlderDatabase(db, dialect(), first);
    testPrompter().clear();

    bool ok = false;
    const UpgradeReport report = upgrade(db, &ok);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(report.wasCurrent);
    QList<int> expectedSteps;
    for (int step = first; step <= 6; ++step) expectedSteps << step;
    EXPECT_EQ(report.stepsRun, expectedSteps);
    EXPECT_EQ(labels_, (QStringList{kTextoAtualizandoVersao, QString()}));
    EXPECT_TRUE(testPrompter().messages().isEmpty());

    // The new columns carry their first values; what an older version stored stays.
    for (const StepColumn& c : stepColumns()) {
      const QVariant expected = c.step >= first ? c.added : c.older;
      for (const QVariant& value : valuesOf(db, c.table, c.column))
        EXPECT_TRUE(sameValue(value, expected))
            << c.table.toStdString() << "." << c.column.toStdString() << " = "
            << value.toString().toStdString();
    }
    EXPECT_EQ(scalarSql(db, QStringLiteral("SELECT ACADEMIA FROM Secvar")).toString(),
              QStringLiteral("Academia Velha"));
    EXPECT_EQ(scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM Usuarios")).toInt(), 2);
    EXPECT_EQ(scalarSql(db, QStringLiteral("SELECT Descricao FROM Exercicios")).toString(),
              QStringLiteral("SUPINO RETO"));

    // The plain password became a hash of itself; no password stays no password.
    const QString hash = storedPassword(db, QStringLiteral("01"));
    EXPECT_TRUE(isPasswordHash(hash)) << hash.toStdString();
    EXPECT_TRUE(passwordMatches(QStringLiteral("ABC123"), hash));
    EXPECT_EQ(storedPassword(db, QStringLiteral("02")), QString());
    EXPECT_EQ(report.passwordsHashed, 1);

    // The muscle-group table works as in a new database: numbered rows, one row per code.
    runSql(db, QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES (?, ?)"),
           {QStringLiteral("01"), QStringLiteral("PEITORAL")});
    EXPECT_FALSE(scalarSql(db, QStringLiteral("SELECT ID FROM GrupamentoMuscular")).isNull());
    EXPECT_THROW(runSql(db,
                        QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) "
                                       "VALUES (?, ?)"),
                        {QStringLiteral("01"), QStringLiteral("OUTRO")}),
                 SqlError);

    // Same columns and types as a new database (SQLite enforces no size, so nothing widens
    // its password and port columns; PostgreSQL must have widened them).
    TestDatabase fresh(provider());
    auto freshConnection = fresh.connect();
    ASSERT_TRUE(
        createMissingTables(freshConnection->database(), dialect(), Database::Workout).ok());
    for (const TableDef& table : tablesOf(Database::Workout)) {
      QStringList upgraded = columnsOf(db, provider(), table.name);
      QStringList expected = columnsOf(freshConnection->database(), provider(), table.name);
      if (provider() == Provider::SQLite) {
        const auto widened = [](const QString& c) {
          return c.startsWith(QLatin1String("senha ")) || c.startsWith(QLatin1String("porta_imp "));
        };
        upgraded.removeIf(widened);
        expected.removeIf(widened);
      }
      EXPECT_EQ(upgraded, expected) << table.name.toStdString();
    }

    // Nothing left to do the next time.
    const UpgradeReport again = upgrade(db, &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(again.wasCurrent);
    EXPECT_TRUE(again.stepsRun.isEmpty());
    EXPECT_EQ(again.passwordsHashed, 0);
    EXPECT_TRUE(labels_.isEmpty());
    EXPECT_EQ(storedPassword(db, QStringLiteral("01")), hash);
    EXPECT_TRUE(testPrompter().messages().isEmpty());
  }
}

TEST_P(UpkeepTest, AFailingStepKeepsTheStepsBeforeItAndTheNextStartCarriesOn) {
  makeOlderDatabase(db_, dialect(), 1);
  installBlocker(db_, provider(), kBlockStep3);
  testPrompter().clear();
  QStringList events;
  testPrompter().onAsk = [&](const ScriptedPrompter::Shown& shown) {
    events << QStringLiteral("box: ") + shown.text;
  };
  labels_.clear();
  UpgradeReport report;
  const bool ok = ATUALIZA_VERSAO(
      db_, dialect(), [&](const QString& text) { events << QStringLiteral("label: ") + text; },
      &report);

  EXPECT_FALSE(ok);
  EXPECT_EQ(report.stepsRun, (QList<int>{1, 2}));
  EXPECT_EQ(report.failedStep, 3);
  // The label is hidden before the box, and the box names the database.
  EXPECT_EQ(events, (QStringList{QStringLiteral("label: ") + kTextoAtualizandoVersao,
                                 QStringLiteral("label: "),
                                 QStringLiteral("box: ") + Msg::GravandoNaTabela}));
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Banco de Dados"));
  EXPECT_EQ(testPrompter().messages()[0].kind, PromptKind::Information);

  for (const char* column : {"PINPAD", "VELOCIDADE", "IdSMTP_UseTLS"})
    EXPECT_TRUE(sqlRuns(db_, QStringLiteral("SELECT %1 FROM Secvar").arg(column))) << column;
  for (const char* column :
       {"Portal_Cenection", "Troca_Serie", "GrupamentoMuscular", "TrocaDataSerie"})
    EXPECT_FALSE(sqlRuns(db_, QStringLiteral("SELECT %1 FROM Secvar").arg(column))) << column;
  EXPECT_FALSE(existingTables(db_, dialect()).contains(QStringLiteral("grupamentomuscular")));

  testPrompter().onAsk = nullptr;
  testPrompter().clear();
  removeBlocker(db_, provider(), kBlockStep3);
  const UpgradeReport next = upgrade(db_);
  EXPECT_TRUE(next.ok());
  EXPECT_EQ(next.stepsRun, (QList<int>{3, 4, 5, 6}));
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT Portal_Cenection FROM Secvar")).toString(), kNao);
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT PINPAD FROM Secvar")).toString(),
            QStringLiteral("NADA"));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

// `vantrel init` on an older installation creates the muscle-group table but adds no column.
TEST_P(UpkeepTest, AMuscleGroupTableAlreadyThereDoesNotStopTheUpgrade) {
  makeOlderDatabase(db_, dialect(), 1);
  ASSERT_TRUE(createMissingTables(db_, dialect(), Database::Workout).ok());
  runSql(db_, QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES (?, ?)"),
         {QStringLiteral("07"), QStringLiteral("DORSAL")});
  testPrompter().clear();

  const UpgradeReport report = upgrade(db_);
  EXPECT_TRUE(report.ok());
  EXPECT_EQ(report.stepsRun, (QList<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
  EXPECT_EQ(scalarSql(db_,
                      QStringLiteral("SELECT DESCRICAO FROM GrupamentoMuscular WHERE "
                                     "CODIGO = ?"),
                      {QStringLiteral("07")})
                .toString(),
            QStringLiteral("DORSAL"));
  EXPECT_TRUE(sqlRuns(db_, QStringLiteral("SELECT CODIGO_G FROM Exercicios")));
}

TEST_P(UpkeepTest, TheGridIndexesAreAddedOnceToADatabaseWithoutThem) {
  const auto missingGridIndexes = [this](const QSqlDatabase& db) {
    const QStringList present = existingIndexes(db, dialect());
    QStringList missing;
    for (const GridIndex& grid : gridIndexes())
      if (!present.contains(grid.index.name.toLower())) missing << grid.index.name;
    return missing;
  };
  // A new database has them all from the start.
  TestDatabase fresh(provider());
  auto freshConnection = fresh.connect();
  ASSERT_TRUE(createMissingTables(freshConnection->database(), dialect(), Database::Workout).ok());
  EXPECT_EQ(missingGridIndexes(freshConnection->database()), QStringList());
  EXPECT_EQ(upgrade(freshConnection->database()).indexesAdded, 0);

  // An older one has only the tables' own indexes (and no muscle groups before step 5), and
  // one of those was lost on the way.
  makeOlderDatabase(db_, dialect(), 1);
  runSql(db_, QStringLiteral("DROP INDEX IX_Alunos_MATRICULA"));
  ASSERT_EQ(missingGridIndexes(db_),
            (QStringList{"IX_Alunos_MATRICULA", "IX_Alunos_NOME_MATRICULA",
                         "IX_Funcionarios_NOME_MATRICULA", "IX_Exercicios_Descricao_Codigo",
                         "IX_GrupamentoMuscular_CODIGO"}));
  testPrompter().clear();
  const UpgradeReport first = upgrade(db_);
  EXPECT_TRUE(first.ok());
  EXPECT_EQ(first.indexesAdded, 4);
  EXPECT_EQ(missingGridIndexes(db_), QStringList());
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  const UpgradeReport second = upgrade(db_);
  EXPECT_TRUE(second.ok());
  EXPECT_EQ(second.indexesAdded, 0);
}

// A database with every column may still hold passwords as plain text.
TEST_P(UpkeepTest, ACurrentDatabaseStillGetsItsPlainPasswordsHashed) {
  makeOlderDatabase(db_, dialect(), 7);
  const QString alreadyHashed = hashPassword(QStringLiteral("XYZ789"));
  const QVariant noText(QMetaType::fromType<QString>());
  runSql(db_,
         QStringLiteral("INSERT INTO Usuarios (CODIGO, NOME, SENHA) VALUES (?, ?, ?), (?, ?, ?), "
                        "(?, ?, ?)"),
         {QStringLiteral("03"), QStringLiteral("CAIO"), QStringLiteral("ABC123"),
          QStringLiteral("04"), QStringLiteral("DINA"), noText, noText,
          QStringLiteral("SEM CODIGO"), QStringLiteral("QWE456")});
  testPrompter().clear();

  const UpgradeReport report = upgrade(db_);
  EXPECT_TRUE(report.ok());
  EXPECT_TRUE(report.wasCurrent);
  EXPECT_EQ(report.passwordsHashed, 3);
  const QString first = storedPassword(db_, QStringLiteral("01"));
  const QString third = storedPassword(db_, QStringLiteral("03"));
  const QString noCode =
      scalarSql(db_, QStringLiteral("SELECT SENHA FROM Usuarios WHERE CODIGO IS NULL")).toString();
  for (const QString& stored : {first, third, noCode})
    EXPECT_TRUE(isPasswordHash(stored)) << stored.toStdString();
  EXPECT_TRUE(passwordMatches(QStringLiteral("ABC123"), first));
  EXPECT_TRUE(passwordMatches(QStringLiteral("ABC123"), third));
  EXPECT_TRUE(passwordMatches(QStringLiteral("QWE456"), noCode));
  EXPECT_NE(first, third);  // each user has a salt of its own
  EXPECT_FALSE(passwordMatches(QStringLiteral("ABC12"), first));
  EXPECT_TRUE(scalarSql(db_, QStringLiteral("SELECT SENHA FROM Usuarios WHERE CODIGO = ?"),
                        {QStringLiteral("04")})
                  .isNull());

  // A hash already stored is not hashed again.
  runSql(db_, QStringLiteral("UPDATE Usuarios SET SENHA = ? WHERE CODIGO = ?"),
         {alreadyHashed, QStringLiteral("03")});
  EXPECT_EQ(MIGRA_SENHAS(db_, dialect()), std::optional<int>(0));
  EXPECT_EQ(storedPassword(db_, QStringLiteral("03")), alreadyHashed);
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_P(UpkeepTest, APasswordThatCannotBeWrittenLeavesEveryPasswordAsItWas) {
  makeOlderDatabase(db_, dialect(), 7);
  runSql(db_, QStringLiteral("INSERT INTO Usuarios (CODIGO, NOME, SENHA) VALUES (?, ?, ?)"),
         {QStringLiteral("03"), QStringLiteral("CAIO"), QStringLiteral("QWE456")});
  const Blocker blockSecondUser{QStringLiteral("Usuarios"), QStringLiteral("UPDATE"),
                                QStringLiteral("NEW.CODIGO = '03'"),
                                QStringLiteral("NEW.codigo = '03'")};
  installBlocker(db_, provider(), blockSecondUser);
  testPrompter().clear();

  bool ok = true;
  const UpgradeReport report = upgrade(db_, &ok);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(report.passwordsFailed);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Usuarios"));
  EXPECT_EQ(storedPassword(db_, QStringLiteral("01")), QStringLiteral("ABC123"));
  EXPECT_EQ(storedPassword(db_, QStringLiteral("03")), QStringLiteral("QWE456"));

  removeBlocker(db_, provider(), blockSecondUser);
  testPrompter().clear();
  EXPECT_EQ(MIGRA_SENHAS(db_, dialect()), std::optional<int>(2));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Size

// Series rows per table and year (0 for rows without a date).
using YearCounts = QMap<QString, QMap<int, int>>;

const char* const kSeriesTables[] = {"Aerobica", "Agendado", "Alongamento", "Treino"};

YearCounts yearCounts(const QSqlDatabase& db, const Dialect& dialect) {
  YearCounts counts;
  for (const char* table : kSeriesTables) {
    QSqlQuery query =
        runSql(db, QStringLiteral("SELECT COALESCE(%1, 0), COUNT(*) FROM %2 GROUP BY 1")
                       .arg(dialect.yearOf(QStringLiteral("Data")), QLatin1String(table)));
    while (query.next())
      counts[QLatin1String(table)][query.value(0).toInt()] = query.value(1).toInt();
  }
  return counts;
}

enum class Series { History, NoTreino, UndatedTreino };

// Series over several years. Treino's oldest dated year is 2019; Agendado goes back to 2018,
// which the purge must not touch, since the year is Treino's.
void seedSeries(const QSqlDatabase& db, Series series) {
  const QVariant noDate(QMetaType::fromType<QDate>());
  const auto insert = [&](const char* table, const QVariant& date) {
    runSql(db, QStringLiteral("INSERT INTO %1 (Matricula, Data) VALUES (?, ?)").arg(table),
           {QStringLiteral("0000000001"), date});
  };
  for (const QVariant& date : {QVariant(QDate(2019, 5, 1)), QVariant(QDate(2020, 6, 1)), noDate})
    insert("Aerobica", date);
  for (const QVariant& date : {QVariant(QDate(2018, 7, 1)), QVariant(QDate(2019, 1, 1)),
                               QVariant(QDate(2020, 2, 2)), noDate})
    insert("Agendado", date);
  for (const QVariant& date : {QVariant(QDate(2019, 12, 31)), QVariant(QDate(2021, 1, 1))})
    insert("Alongamento", date);
  if (series == Series::NoTreino) return;
  insert("Treino", noDate);
  if (series == Series::UndatedTreino) return;
  for (const QVariant& date :
       {QVariant(QDate(2019, 3, 10)), QVariant(QDate(2019, 3, 10)), QVariant(QDate(2020, 1, 5))})
    insert("Treino", date);
}

int logLines() {
  QFile log(logFilePath());
  if (!log.open(QIODevice::ReadOnly)) return 0;
  return int(log.readAll().count('\n'));
}

struct Box {
  QString text;
  QString detail;
};

// Databases made before user codes were unique: the index comes where it can, and two users
// sharing a code are named in the log instead.
TEST_P(UpkeepTest, UserCodesBecomeUniqueUnlessTwoUsersAlreadyShareOne) {
  makeOlderDatabase(db_, dialect(), 7);
  runSql(db_, QStringLiteral("DROP INDEX IF EXISTS IX_Usuarios_CODIGO"));
  runSql(db_, QStringLiteral("CREATE INDEX IX_Usuarios_CODIGO ON Usuarios (CODIGO)"));
  runSql(
      db_, QStringLiteral("INSERT INTO Usuarios (CODIGO, NOME) VALUES (?, ?), (?, ?)"),
      {QStringLiteral("10"), QStringLiteral("ANA"), QStringLiteral("10"), QStringLiteral("BIA")});
  const QString uniqueCount = dialect().uniqueIndexCountSql();
  const QVariantList index{QStringLiteral("IX_Usuarios_CODIGO")};

  EXPECT_TRUE(upgrade(db_).ok());  // the login goes on
  EXPECT_EQ(scalarSql(db_, uniqueCount, index).toInt(), 0);
  QFile log(logFilePath());
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(QStringLiteral("10 (2 vezes)")));

  runSql(db_, QStringLiteral("DELETE FROM Usuarios WHERE NOME = ?"), {QStringLiteral("BIA")});
  EXPECT_TRUE(upgrade(db_).ok());
  EXPECT_EQ(scalarSql(db_, uniqueCount, index).toInt(), 1);
  EXPECT_THROW(runSql(db_, QStringLiteral("INSERT INTO Usuarios (CODIGO, NOME) VALUES (?, ?)"),
                      {QStringLiteral("10"), QStringLiteral("CAIO")}),
               SqlError);
  EXPECT_TRUE(ensureUniqueUserCodes(db_, dialect()));  // the second time changes nothing
  EXPECT_EQ(scalarSql(db_, uniqueCount, index).toInt(), 1);
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST(UpkeepOfAFile, AFileThatIsNotADatabaseIsToldForWhatItIs) {
  TestInstallation home;
  QTemporaryDir dir;
  QFile garbage(dir.filePath(QStringLiteral("vantrel.db")));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write(QByteArray(8192, 'x'));
  garbage.close();
  LinkSpec link;
  link.provider = Provider::SQLite;
  link.dataSource = garbage.fileName();
  Connection connection(link, Connection::uniqueName(QStringLiteral("lixo")));
  ASSERT_TRUE(connection.open());
  testPrompter().clear();
  UpgradeReport report;
  EXPECT_FALSE(ATUALIZA_VERSAO(connection.database(), connection.dialect(), {}, &report));
  EXPECT_FALSE(report.unreadable.isEmpty());
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::EntreEmContato);
  EXPECT_TRUE(testPrompter().messages()[0].detail.contains(QStringLiteral("not a database")))
      << testPrompter().messages()[0].detail.toStdString();
  testPrompter().clear();
}

TEST_P(UpkeepTest, TheSizeDecidesBetweenSilenceAWarningAndThePurgeOfTheOldestYear) {
  ASSERT_TRUE(createMissingTables(db_, dialect(), Database::Workout).ok());
  const struct {
    const char* name;
    std::optional<qint64> size;
    Series series;
    QList<Box> boxes;
    std::optional<int> purged;
  } cases[] = {
      {"below the warning", 1749, Series::History, {}, {}},
      {"warning from 1750",
       1750,
       Series::History,
       {{Msg::ProximoDoLimite, QStringLiteral("Tamanho: 1750 MB")}},
       {}},
      {"warning up to 1800",
       1800,
       Series::History,
       {{Msg::ProximoDoLimite, QStringLiteral("Tamanho: 1800 MB")}},
       {}},
      {"purge above 1800",
       1801,
       Series::History,
       {{Msg::ExcedeuDoLimite, QStringLiteral("Tamanho: 1801 MB")}, {Msg::FimDeProcesso, {}}},
       2019},
      {"no series to purge",
       2500,
       Series::NoTreino,
       {{Msg::ExcedeuDoLimite, QStringLiteral("Tamanho: 2500 MB")}},
       {}},
      {"only undated series",
       1801,
       Series::UndatedTreino,
       {{Msg::ExcedeuDoLimite, QStringLiteral("Tamanho: 1801 MB")}},
       {}},
      {"size unreadable", std::nullopt, Series::History, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* table : kSeriesTables)
      runSql(db_, QStringLiteral("DELETE FROM %1").arg(table));
    seedSeries(db_, c.series);
    const YearCounts before = yearCounts(db_, dialect());
    const int logBefore = logLines();
    testPrompter().clear();
    bool busy = false;
    QList<bool> busyAtBox;
    testPrompter().onAsk = [&](const ScriptedPrompter::Shown&) { busyAtBox << busy; };
    QStringList labels;

    const SizeCheckReport report = Verifica_Tamanho_Banco(
        db_, dialect(), [&] { return c.size; }, [&](const QString& text) { labels << text; },
        [&](bool on) { busy = on; });

    QList<Box> boxes;
    for (const auto& shown : testPrompter().messages()) {
      EXPECT_EQ(shown.kind, PromptKind::Information);
      boxes << Box{shown.text, shown.detail};
    }
    ASSERT_EQ(boxes.size(), c.boxes.size());
    for (int i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i].text, c.boxes[i].text);
      EXPECT_EQ(boxes[i].detail, c.boxes[i].detail);
    }
    EXPECT_FALSE(busyAtBox.contains(true));
    EXPECT_FALSE(busy);

    YearCounts expected = before;
    if (c.purged)
      for (auto& years : expected) years.remove(*c.purged);
    EXPECT_EQ(yearCounts(db_, dialect()), expected);
    EXPECT_EQ(report.purgedYear, c.purged);
    EXPECT_EQ(report.shrunk, c.purged.has_value());
    EXPECT_EQ(labels.contains(kTextoExcluindoDadosAntigos), c.purged.has_value());
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.last(), QString());  // the label ends hidden
    EXPECT_EQ(report.ok, c.size.has_value());
    EXPECT_EQ(logLines() - logBefore, c.size ? 0 : 1);
  }
}

TEST_P(UpkeepTest, AFailedPurgeDeletesNothingAndSaysSo) {
  ASSERT_TRUE(createMissingTables(db_, dialect(), Database::Workout).ok());
  seedSeries(db_, Series::History);
  const Blocker blockTreino{QStringLiteral("Treino"), QStringLiteral("DELETE"),
                            QStringLiteral("1 = 1"), QStringLiteral("TRUE")};
  installBlocker(db_, provider(), blockTreino);
  const YearCounts before = yearCounts(db_, dialect());
  testPrompter().clear();

  const SizeCheckReport report =
      Verifica_Tamanho_Banco(db_, dialect(), [] { return std::optional<qint64>(1900); });
  EXPECT_FALSE(report.ok);
  EXPECT_FALSE(report.purgedYear.has_value());
  EXPECT_FALSE(report.shrunk);
  // Aerobica, Agendado and Alongamento went first and came back with the rollback.
  EXPECT_EQ(yearCounts(db_, dialect()), before);
  EXPECT_EQ(testPrompter().texts(), (QStringList{Msg::ExcedeuDoLimite, Msg::GravandoNaTabela}));
  EXPECT_EQ(testPrompter().messages().last().detail, QStringLiteral("Banco de Dados"));
}

TEST_P(UpkeepTest, TheRealSizeIsInWholeMegabytes) {
  ASSERT_TRUE(createMissingTables(db_, dialect(), Database::Workout).ok());
  QByteArray photo(3 * 1024 * 1024, Qt::Uninitialized);
  QRandomGenerator generator(7);  // random bytes: PostgreSQL would compress anything else
  generator.fillRange(reinterpret_cast<quint32*>(photo.data()), photo.size() / 4);
  runSql(db_, QStringLiteral("INSERT INTO FotosAlunos (MATRICULA, FOTO1) VALUES (?, ?)"),
         {QStringLiteral("0000000001"), photo});

  const std::optional<qint64> size = databaseSize(db_, dialect())();
  ASSERT_TRUE(size.has_value());
  EXPECT_GE(*size, 3);
  EXPECT_LT(*size, 100);  // megabytes, not bytes or kilobytes

  // A database that cannot be asked gives no size and a line in the log.
  const int logBefore = logLines();
  connection_->close();
  EXPECT_FALSE(databaseSize(db_, dialect())().has_value());
  EXPECT_EQ(logLines() - logBefore, 1);
}

// ---------------------------------------------------------------------------------------------
// Command line

struct CommandRun {
  int status;
  QString out;
};

CommandRun runCommand(const QStringList& args) {
  FILE* out = std::tmpfile();
  const int status = runUpkeepCommand(args, out);
  std::rewind(out);
  QByteArray text;
  char buffer[512];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, out))
    text.append(buffer, qsizetype(n));
  std::fclose(out);
  return {status, QString::fromUtf8(text)};
}

TEST_P(UpkeepTest, TheCommandSaysWhatItDidAndFailsWhenAStepFails) {
  ASSERT_TRUE(writeLinkFile(linkFilePath(DataSource::Vantrel), database_.linkSpec()));
  makeOlderDatabase(db_, dialect(), 1);
  installBlocker(db_, provider(), kBlockStep3);

  const CommandRun failed = runCommand({});
  EXPECT_EQ(failed.status, 1);
  EXPECT_TRUE(failed.out.contains(QStringLiteral("Banco atualizado: passos 1 e 2\n")))
      << failed.out.toStdString();
  EXPECT_TRUE(testPrompter().texts().contains(Msg::GravandoNaTabela));

  removeBlocker(db_, provider(), kBlockStep3);
  const CommandRun upgraded = runCommand({});
  EXPECT_EQ(upgraded.status, 0) << upgraded.out.toStdString();
  EXPECT_TRUE(upgraded.out.contains(QStringLiteral("Banco atualizado: passos 3, 4, 5 e 6\n")))
      << upgraded.out.toStdString();
  EXPECT_TRUE(upgraded.out.contains(QStringLiteral("Senhas protegidas: 1\n")));
  EXPECT_TRUE(upgraded.out.contains(QRegularExpression(QStringLiteral("Tamanho: \\d+ MB\n"))));

  const CommandRun again = runCommand({});
  EXPECT_EQ(again.status, 0);
  EXPECT_TRUE(again.out.startsWith(QStringLiteral("Banco já está atualizado\nTamanho: ")))
      << again.out.toStdString();
}

TEST(UpkeepCommand, RefusesOptionsAndAMissingInstallation) {
  TestInstallation home;
  EXPECT_EQ(runCommand({QStringLiteral("--tudo")}).status, 2);
  const CommandRun missing = runCommand({});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Providers, UpkeepTest, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
