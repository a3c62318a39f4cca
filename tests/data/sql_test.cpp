#include <gtest/gtest.h>

#include <QDate>
#include <QFile>

#include "base/error_log.h"
#include "base/messages.h"
#include "data/connection.h"
#include "data/sql.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

class SqlTest : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    runSql(db_, QStringLiteral("CREATE TABLE Treino (Matricula VARCHAR(10), Data DATE, "
                               "Peso VARCHAR(11))"));
  }

  int rows() { return scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM Treino")).toInt(); }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(SqlTest, FailedWriteRollsBackEverythingAndSaysSo) {
  const bool ok = writeInTransaction(db_, QStringLiteral("Treino"), [&] {
    runSql(db_, QStringLiteral("INSERT INTO Treino (Matricula, Data) VALUES (?, ?)"),
           {QStringLiteral("0000000001"), QDate(2026, 12, 1)});
    runSql(db_, QStringLiteral("INSERT INTO TabelaQueNaoExiste (X) VALUES (?)"), {1});
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(rows(), 0);
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Treino"));

  // The connection is usable again right after.
  EXPECT_TRUE(writeInTransaction(db_, QStringLiteral("Treino"), [&] {
    runSql(db_, QStringLiteral("INSERT INTO Treino (Matricula, Data) VALUES (?, ?)"),
           {QStringLiteral("0000000001"), QDate(2026, 12, 1)});
  }));
  EXPECT_EQ(rows(), 1);
}

TEST_P(SqlTest, ValuesAreBoundNeverGlued) {
  const QString hostile = QStringLiteral("O'NE; DROP");
  runSql(db_, QStringLiteral("INSERT INTO Treino (Matricula, Peso) VALUES (?, ?)"),
         {hostile, QStringLiteral("'--")});
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT Peso FROM Treino WHERE Matricula = ?"), {hostile})
                .toString(),
            QStringLiteral("'--"));
}

TEST_P(SqlTest, DialectYearSizeShrinkAndTableList) {
  const Dialect& dialect = connection_->dialect();
  runSql(db_, QStringLiteral("INSERT INTO Treino (Matricula, Data) VALUES (?, ?), (?, ?)"),
         {QStringLiteral("1"), QDate(2019, 2, 28), QStringLiteral("2"), QDate(2021, 12, 31)});
  EXPECT_EQ(scalarSql(db_,
                      QStringLiteral("SELECT COUNT(*) FROM Treino WHERE %1 = ?")
                          .arg(dialect.yearOf(QStringLiteral("Data"))),
                      {2019})
                .toInt(),
            1);
  // Dates come back as dates on both providers.
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT Data FROM Treino WHERE Matricula = ?"),
                      {QStringLiteral("2")})
                .toDate(),
            QDate(2021, 12, 31));
  EXPECT_GT(scalarSql(db_, dialect.sizeSql()).toLongLong(), 0);
  for (const QString& statement : dialect.shrinkSql()) EXPECT_NO_THROW(runSql(db_, statement));
  QStringList tables;
  QSqlQuery list = runSql(db_, dialect.listTablesSql());
  while (list.next()) tables << list.value(0).toString().toLower();
  EXPECT_TRUE(tables.contains(QStringLiteral("treino")));
  runSql(db_, dialect.addColumnSql(QStringLiteral("Treino"), QStringLiteral("Extra"),
                                   dialect.columnType(ColumnType::Text, 3)));
  EXPECT_TRUE(sqlRuns(db_, QStringLiteral("SELECT EXTRA FROM TREINO")));
}

INSTANTIATE_TEST_SUITE_P(Providers, SqlTest, testing::ValuesIn(testProviders()), providerTestName);

// Every way a link can be wrong fails the opening alike and leaves a line in the log.
TEST(ConnectionFailure, BadLinksFailAndAreLogged) {
  TestInstallation home;
  const struct {
    const char* linkText;  // nullptr: no link file at all
    const char* reason;
  } cases[] = {
      {nullptr, "não existe"},
      {"Provider=Jet;Data Source=x", "provedor desconhecido"},
      {"isto não é uma conexão", "="},
      {"Provider=SQLite;Data Source=naoexiste.db", "não existe"},
      {"Provider=PostgreSQL;Data Source=/nonexistent-socket-dir;Initial Catalog=x;User ID=u", ""},
  };
  for (const auto& c : cases) {
    QFile::remove(home.path() + QStringLiteral("/Vantrel.udl"));
    if (c.linkText) {
      QFile file(home.path() + QStringLiteral("/Vantrel.udl"));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.linkText);
    }
    Connection connection(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("bad")));
    EXPECT_FALSE(connection.open()) << (c.linkText ? c.linkText : "(no file)");
    EXPECT_FALSE(connection.isOpen());
    EXPECT_TRUE(connection.lastError().contains(QString::fromUtf8(c.reason)))
        << connection.lastError().toStdString();
    QFile log(logFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    QString logged = connection.lastError();
    logged.replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(logged));
  }
}

}  // namespace
