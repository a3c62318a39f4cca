#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QSqlQuery>

#include "data/schema.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "support/test_db.h"

namespace {

const Database kAllDatabases[] = {Database::Workout, Database::GymManagement, Database::Portal,
                                  Database::Assessment};

QStringList tableNames(const QList<TableDef>& tables) {
  QStringList names;
  for (const TableDef& table : tables) names << table.name;
  return names;
}

QStringList sortedLower(QStringList names) {
  for (QString& name : names) name = name.toLower();
  names.sort();
  return names;
}

int rowCount(const QSqlDatabase& db, const QString& table) {
  return scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
}

class SchemaTest : public testing::TestWithParam<Provider> {
 protected:
  QSqlDatabase db() const { return connection_->database(); }
  const Dialect& dialect() const { return connection_->dialect(); }

  void createWorkout() {
    const SchemaReport report = createMissingTables(db(), dialect(), Database::Workout);
    ASSERT_TRUE(report.ok()) << report.error.toStdString();
  }

 private:
  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_ = database_.connect();
};

TEST_P(SchemaTest, CreatesEachDatabaseFromNothingAndASecondRunCreatesNothing) {
  for (Database which : kAllDatabases) {
    SCOPED_TRACE(static_cast<int>(which));
    TestDatabase database(GetParam());
    const auto connection = database.connect();
    const QSqlDatabase db = connection->database();
    const Dialect& dialect = connection->dialect();
    const QStringList expected = tableNames(tablesOf(which));

    const SchemaReport first = createMissingTables(db, dialect, which);
    ASSERT_TRUE(first.ok()) << first.error.toStdString();
    EXPECT_EQ(first.created, expected);
    // Only the defined tables (SQLite's own bookkeeping tables are not listed).
    EXPECT_EQ(sortedLower(existingTables(db, dialect)), sortedLower(expected));

    const QString someTable = expected.first();
    runSql(db, QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(someTable));
    const SchemaReport second = createMissingTables(db, dialect, which);
    ASSERT_TRUE(second.ok()) << second.error.toStdString();
    EXPECT_TRUE(second.created.isEmpty()) << second.created.join(',').toStdString();
    EXPECT_EQ(rowCount(db, someTable), 1);
  }
}

TEST_P(SchemaTest, LeavesAnExistingTableAsItIsAndCreatesTheOthers) {
  // An older shape of the table, with a row in it.
  runSql(db(), QStringLiteral("CREATE TABLE treino (Matricula VARCHAR(10), Data DATE)"));
  runSql(db(), QStringLiteral("INSERT INTO Treino (Matricula, Data) VALUES (?, ?)"),
         {QStringLiteral("0000000001"), QDate(2023, 5, 2)});

  const SchemaReport report = createMissingTables(db(), dialect(), Database::Workout);

  ASSERT_TRUE(report.ok()) << report.error.toStdString();
  QStringList others = tableNames(tablesOf(Database::Workout));
  others.removeAll(QStringLiteral("Treino"));
  EXPECT_EQ(report.created, others);
  EXPECT_EQ(rowCount(db(), QStringLiteral("Treino")), 1);
  EXPECT_FALSE(sqlRuns(db(), QStringLiteral("SELECT Ordem FROM Treino"))) << "table was altered";
}

TEST_P(SchemaTest, NamesWorkInTheSpellingsTheProgramUses) {
  struct Probe {
    Database database;
    const char* sql;
  };
  const Probe probes[] = {
      {Database::Workout, "SELECT TrocaDataSerie, Portal_Cenection FROM SECVAR"},
      {Database::Workout, "SELECT Alogamento_23, alogamento_01, OBS FROM Alongamento"},
      {Database::Workout, "SELECT CODIGO_G, codigo FROM EXERCICIOS"},
      {Database::Workout, "SELECT id, matricula, foto1 FROM FotosAlunos"},
      {Database::Workout, "SELECT C_GrupamentoMuscular, Matricula FROM USUARIOS"},
      {Database::GymManagement, "SELECT PRAZOAVALFUN AS PRAZO_AVALIACAO FROM SACVAR"},
      {Database::GymManagement, "SELECT Exclui_Turma_Agendamento FROM SACVAR2"},
      {Database::Portal, "SELECT cod_cliente, academia FROM clientes"},
      {Database::Portal, "SELECT Alogamento_23 FROM PORTAL_ALONGAMENTO WHERE CLIENTE = 1"},
      // Names that begin with a digit exist only quoted, in lower case.
      {Database::Assessment, "SELECT \"2x\", \"5x\", DIARIAMENTE FROM PRESCRICAO"},
      {Database::Assessment, "SELECT TEMPO_REAVALIACAO AS PRAZO_AVALIACAO FROM SAVCVAR"},
  };
  for (Database which : kAllDatabases) {
    TestDatabase database(GetParam());
    const auto connection = database.connect();
    ASSERT_TRUE(createMissingTables(connection->database(), connection->dialect(), which).ok());
    for (const Probe& probe : probes) {
      if (probe.database != which) continue;
      EXPECT_TRUE(sqlRuns(connection->database(), QString::fromLatin1(probe.sql))) << probe.sql;
    }
  }
}

TEST_P(SchemaTest, ACreationThatFailsLeavesNothingOfTheCall) {
  // A view holding a table's name makes that table's creation fail midway through the list.
  runSql(db(), QStringLiteral("CREATE VIEW Treino AS SELECT 1 AS x"));

  const SchemaReport report = createMissingTables(db(), dialect(), Database::Workout);

  EXPECT_FALSE(report.ok());
  EXPECT_TRUE(report.error.startsWith(QStringLiteral("Treino:"))) << report.error.toStdString();
  EXPECT_TRUE(report.created.isEmpty());
  EXPECT_TRUE(existingTables(db(), dialect()).isEmpty())
      << existingTables(db(), dialect()).join(',').toStdString();
}

TEST_P(SchemaTest, AFailingIndexTakesItsTableAndTheEarlierOnesBack) {
  const QList<TableDef> tables = {
      {QStringLiteral("Alfa"), {{QStringLiteral("CODIGO"), ColumnType::Text, 2}}, {}},
      {QStringLiteral("Beta"),
       {{QStringLiteral("ID"), ColumnType::Identity}},
       {{QStringLiteral("IX_Beta_Nada"), {QStringLiteral("NADA")}}}},
  };

  const SchemaReport report = createMissingTables(db(), dialect(), tables);

  EXPECT_FALSE(report.ok());
  EXPECT_TRUE(report.error.startsWith(QStringLiteral("Beta:"))) << report.error.toStdString();
  EXPECT_TRUE(existingTables(db(), dialect()).isEmpty());
}

TEST_P(SchemaTest, KeysThatTheWindowsRelyOnRefuseDuplicates) {
  createWorkout();
  const char* inserts[] = {
      // The member window leaves duplicate registration numbers to the database.
      "INSERT INTO Alunos (MATRICULA, NOME) VALUES ('0000000007', 'A')",
      // So does the muscle-group window with its codes.
      "INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES ('04', 'PEITO')",
      "INSERT INTO FotosAlunos (MATRICULA) VALUES ('0000000007')",
  };
  for (const char* insert : inserts) {
    runSql(db(), QString::fromLatin1(insert));
    EXPECT_THROW(runSql(db(), QString::fromLatin1(insert)), SqlError) << insert;
  }
}

TEST_P(SchemaTest, TextAndDatesTravelAsBoundParametersAndComeBackAsTyped) {
  createWorkout();
  const QString name = QStringLiteral("O'NEIL; DROP TABLE Alunos");
  const QDate born(1990, 2, 28);
  const QDateTime left(QDate(2024, 12, 31), QTime(23, 59, 58));
  runSql(db(),
         QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, DATA_NASCIMENTO, SAIDA) "
                        "VALUES (?, ?, ?, ?)"),
         {QStringLiteral("0000000042"), name, born, left});

  QSqlQuery query = runSql(
      db(),
      QStringLiteral(
          "SELECT MATRICULA, NOME, DATA_NASCIMENTO, SAIDA FROM Alunos WHERE DATA_NASCIMENTO = ?"),
      {born});
  ASSERT_TRUE(query.next());
  // Leading zeros survive (no numeric conversion of the key).
  EXPECT_EQ(query.value(0).toString(), QStringLiteral("0000000042"));
  EXPECT_EQ(query.value(1).toString(), name);
  EXPECT_EQ(typedValue(query.value(2), ColumnType::Date), QVariant(born));
  EXPECT_EQ(typedValue(query.value(3), ColumnType::DateTime), QVariant(left));
}

TEST_P(SchemaTest, SettingsRowIsWrittenOnceWithDefaultsAndOverrides) {
  createWorkout();
  QString error;
  EXPECT_FALSE(ensureSettingsRow(db(), {{QStringLiteral("NAO_EXISTE"), 1}}, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(rowCount(db(), QStringLiteral("Secvar")), 0);

  ASSERT_TRUE(ensureSettingsRow(db(),
                                {{QStringLiteral("academia"), QStringLiteral("Academia d'Água")},
                                 {QStringLiteral("CLIENTE"), 1234.0}},
                                &error))
      << error.toStdString();
  ASSERT_TRUE(
      ensureSettingsRow(db(), {{QStringLiteral("ACADEMIA"), QStringLiteral("Outra")}}, &error))
      << error.toStdString();
  EXPECT_EQ(rowCount(db(), QStringLiteral("Secvar")), 1);

  const std::optional<QVariantMap> settings = readSettings(db());
  ASSERT_TRUE(settings.has_value());
  // Every column comes back spelled as the definition spells it, whatever the server's case.
  QStringList columns;
  for (const ColumnDef& column : findTable(Database::Workout, QStringLiteral("Secvar"))->columns)
    columns << column.name;
  columns.sort();
  EXPECT_EQ(settings->keys(), columns);
  EXPECT_EQ(defaultSettings().keys(), columns);

  const std::pair<const char*, QVariant> expected[] = {
      {"ACADEMIA", QStringLiteral("Academia d'Água")},
      {"CLIENTE", 1234.0},
      {"Troca_Serie", QStringLiteral("Meses")},
      {"Portal_Cenection", QStringLiteral("Não")},
      {"PATH_EXERCICIO", QStringLiteral("Sim")},
      {"IdSMTP_UseTLS", QStringLiteral("utUseExplicitTLS")},
      {"ENDERECO_PORTA", QStringLiteral("0000")},
      {"VELOCIDADE", 2400},
      {"Tempo_Serie", 60},
      {"POR_CODIGO_APARELHO", false},
      {"STOPBIT", QStringLiteral("1")},
  };
  for (const auto& [column, value] : expected)
    EXPECT_EQ(settings->value(QString::fromLatin1(column)), value) << column;
  EXPECT_TRUE(settings->value(QStringLiteral("LOGOACADEMIA1")).isNull());
}

TEST_P(SchemaTest, NoSettingsWithoutARow) {
  EXPECT_FALSE(readSettings(db()).has_value());  // no table
  createWorkout();
  EXPECT_FALSE(readSettings(db()).has_value());  // no row
}

INSTANTIATE_TEST_SUITE_P(Providers, SchemaTest, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
