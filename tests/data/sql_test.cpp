#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QSqlQuery>
#include <QThread>
#include <atomic>
#include <latch>
#include <thread>

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
  const Outcome written = writeInTransaction(db_, QStringLiteral("Treino"), [&] {
    runSql(db_, QStringLiteral("INSERT INTO Treino (Matricula, Data) VALUES (?, ?)"),
           {QStringLiteral("0000000001"), QDate(2026, 12, 1)});
    runSql(db_, QStringLiteral("INSERT INTO TabelaQueNaoExiste (X) VALUES (?)"), {1});
  });
  ASSERT_FALSE(written);
  EXPECT_EQ(rows(), 0);
  // The write only says what failed; nothing is shown until the caller tells it.
  EXPECT_TRUE(testPrompter().messages().isEmpty());
  EXPECT_EQ(written.failure().text, Msg::GravandoNaTabela);
  EXPECT_EQ(written.failure().detail, QStringLiteral("Treino"));
  EXPECT_TRUE(written.failure().log.contains(QStringLiteral("TabelaQueNaoExiste")));
  EXPECT_FALSE(written.okOrTell());
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

TEST_P(SqlTest, AKeptStatementIsPreparedOnceAndLetGoWhenTheConnectionCloses) {
  const QString insert = QStringLiteral("INSERT INTO Treino (Matricula, Peso) VALUES (?, ?)");
  for (int i = 0; i < 3; ++i) runPrepared(db_, insert, {QString::number(i), QStringLiteral("P")});
  QSqlQuery& read = runPrepared(db_, QStringLiteral("SELECT Matricula FROM Treino ORDER BY 1"));
  QStringList seen;
  while (read.next()) seen << read.value(0).toString();
  read.finish();
  EXPECT_EQ(seen, (QStringList{"0", "1", "2"}));
  if (GetParam() == Provider::PostgreSQL) {
    // The server holds one statement per text, however often it ran.
    EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements "
                                            "WHERE statement ILIKE '%INSERT INTO Treino%'"))
                  .toInt(),
              1);
  }
  // A statement that fails is said so, and prepared again the next time.
  runSql(db_, QStringLiteral("ALTER TABLE Treino RENAME TO Antigo"));
  EXPECT_THROW(runPrepared(db_, insert, {QStringLiteral("9"), QStringLiteral("P")}), SqlError);
  runSql(db_, QStringLiteral("CREATE TABLE Treino (Matricula VARCHAR(10), Data DATE, "
                             "Peso VARCHAR(11))"));
  runPrepared(db_, insert, {QStringLiteral("4"), QStringLiteral("P")});
  EXPECT_EQ(rows(), 1);
  // Closed and opened again: the statements of the old session are gone, new ones are made.
  db_ = QSqlDatabase();
  connection_->close();
  ASSERT_TRUE(connection_->open());
  db_ = connection_->database();
  runPrepared(db_, insert, {QStringLiteral("5"), QStringLiteral("P")});
  EXPECT_EQ(rows(), 2);
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
      // An unquoted ";" in a password: the tail of the password never reaches the log.
      {"Provider=PostgreSQL;Data Source=h;Initial Catalog=x;User ID=u;Password=ab;segredo",
       "item 6"},
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
    const QString all = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(all.contains(logged));
    EXPECT_FALSE(all.contains(QStringLiteral("segredo")));
  }
}

// Two workstations writing at once: each transaction reads, then writes, then holds on a
// moment. On SQLite a transaction that began as a reader would be refused at once ("database
// is locked") instead of waiting its turn.
TEST_P(SqlTest, TwoWritersAtOnceBothEndWell) {
  std::atomic<int> failures{0};
  std::latch start(2);
  auto writer = [&](int worker) {
    std::unique_ptr<Connection> own = database_.connect(QStringLiteral("escritor%1").arg(worker));
    const QSqlDatabase db = own->database();
    start.arrive_and_wait();
    for (int i = 0; i < 8; ++i) {
      try {
        Transaction transaction(db);
        const int before = scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM Treino")).toInt();
        runSql(db, QStringLiteral("INSERT INTO Treino (Matricula, Peso) VALUES (?, ?)"),
               {QString::number(worker), QString::number(before)});
        QThread::msleep(20);
        transaction.commit();
      } catch (const SqlError& e) {
        ++failures;
        ADD_FAILURE() << e.text().toStdString();
      }
    }
  };
  std::thread first(writer, 1);
  std::thread second(writer, 2);
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(rows(), 16);
}

}  // namespace
