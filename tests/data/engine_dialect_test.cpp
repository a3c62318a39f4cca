// What each engine does its own way, asked of both alike: the dialect of an open connection,
// many rows loaded at once, rows told apart with nulls counted as values, the older dates of each
// group removed, and the tables a backup counts.
#include <gtest/gtest.h>

#include <QDate>
#include <QSqlQuery>

#include "data/connection.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "support/test_db.h"

namespace {

class EngineDialect : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    connection_ = database_.connect();
    db_ = connection_->database();
    runSql(db_, QStringLiteral("CREATE TABLE Linhas (Grupo VARCHAR(5), Letra VARCHAR(1), Data "
                               "DATE, Texto VARCHAR(40), Numero DOUBLE PRECISION, Marca BOOLEAN)"));
  }

  const Dialect& dialect() const { return connection_->dialect(); }

  QStringList rows(const QString& columns) {
    QSqlQuery query = runSql(db_, QStringLiteral("SELECT %1 FROM Linhas ORDER BY %1").arg(columns));
    QStringList all;
    while (query.next()) {
      QStringList values;
      for (int c = 0; c < query.record().count(); ++c)
        values << (query.isNull(c) ? QStringLiteral("<nulo>") : query.value(c).toString());
      all << values.join(QLatin1Char('|'));
    }
    return all;
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(EngineDialect, AnOpenConnectionTellsItsDialect) {
  EXPECT_EQ(Dialect::of(db_).provider(), GetParam());
}

TEST_P(EngineDialect, RowsLoadedAtOnceKeepEveryValue) {
  const QStringList columns{QStringLiteral("Grupo"), QStringLiteral("Data"),
                            QStringLiteral("Texto"), QStringLiteral("Numero"),
                            QStringLiteral("Marca")};
  dialect().bulkLoad(
      db_, QStringLiteral("Linhas"), columns,
      {{QStringLiteral("A"), QDate(2026, 3, 10), QStringLiteral("aspas \" e, vírgula"), 20.5, true},
       {QStringLiteral("B"), QVariant(QMetaType(QMetaType::QDate)),
        QStringLiteral("linha\nnova \\ barra"), QVariant(QMetaType(QMetaType::Double)), false},
       {QStringLiteral("C"), QDate(2026, 1, 1), QVariant(QMetaType(QMetaType::QString)), 0.1,
        QVariant(QMetaType(QMetaType::Bool))}});
  EXPECT_EQ(rows(QStringLiteral("Grupo, Data, Texto, Numero")),
            (QStringList{"A|2026-03-10|aspas \" e, vírgula|20.5",
                         "B|<nulo>|linha\nnova \\ barra|<nulo>", "C|2026-01-01|<nulo>|0.1"}));
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM Linhas WHERE Marca")).toInt(), 1);
  EXPECT_EQ(
      scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM Linhas WHERE Marca IS NULL")).toInt(), 1);

  // More rows than one statement takes.
  QList<QVariantList> many;
  for (int i = 0; i < 25000; ++i) many << QVariantList{QStringLiteral("M"), i};
  dialect().bulkLoad(db_, QStringLiteral("Linhas"),
                     {QStringLiteral("Grupo"), QStringLiteral("Numero")}, many);
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT COUNT(*), SUM(Numero) FROM Linhas WHERE Grupo "
                                          "= 'M'"))
                .toInt(),
            25000);
}

TEST_P(EngineDialect, RowsDifferWhenAValueDiffersAndTwoNullsAreAlike) {
  runSql(db_, QStringLiteral("INSERT INTO Linhas (Grupo, Texto) VALUES ('x', 'a'), ('y', NULL)"));
  const struct {
    const char* row;
    const char* now;
    const char* then;
    bool differs;
  } cases[] = {{"x", "Texto, Grupo", "'a', 'x'", false},
               {"x", "Texto, Grupo", "'b', 'x'", true},
               {"x", "Texto", "NULL", true},
               {"y", "Texto", "NULL", false},
               {"y", "Texto", "'a'", true}};
  for (const auto& c : cases) {
    const int differing =
        scalarSql(
            db_,
            QStringLiteral("SELECT COUNT(*) FROM Linhas WHERE Grupo = ? AND %1")
                .arg(dialect().differsSql(QString::fromLatin1(c.now), QString::fromLatin1(c.then))),
            {QString::fromLatin1(c.row)})
            .toInt();
    EXPECT_EQ(differing == 1, c.differs) << c.row << ": " << c.now << " / " << c.then;
  }
}

TEST_P(EngineDialect, OnlyTheLatestDateOfEachGroupStaysWithinTheScope) {
  for (const auto& [group, letter, day] : {std::tuple{"A", "X", QDate(2026, 3, 1)},
                                           {"A", "X", QDate(2026, 3, 9)},
                                           {"A", "Y", QDate(2026, 3, 1)},
                                           {"B", "X", QDate(2026, 2, 1)},
                                           {"B", "X", QDate(2026, 3, 5)},
                                           {"C", "X", QDate(2026, 3, 1)},
                                           {"C", "X", QDate(2026, 3, 2)}})
    runSql(db_, QStringLiteral("INSERT INTO Linhas (Grupo, Letra, Data) VALUES (?, ?, ?)"),
           {QString::fromLatin1(group), QString::fromLatin1(letter), day});
  const QSqlQuery removed =
      runSql(db_,
             dialect().deleteBeforeLatestSql(QStringLiteral("Linhas"),
                                             {QStringLiteral("Grupo"), QStringLiteral("Letra")},
                                             QStringLiteral("Data"), QStringLiteral("Grupo <> ?")),
             {QStringLiteral("C")});
  EXPECT_EQ(removed.numRowsAffected(), 2);
  EXPECT_EQ(rows(QStringLiteral("Grupo, Letra, Data")),
            (QStringList{"A|X|2026-03-09", "A|Y|2026-03-01", "B|X|2026-03-05", "C|X|2026-03-01",
                         "C|X|2026-03-02"}));
}

TEST_P(EngineDialect, OneRowOfEachKeyStays) {
  for (const auto& [group, letter] :
       {std::pair{"A", "X"}, {"A", "X"}, {"A", "Y"}, {"B", "X"}, {"B", "X"}, {"B", "X"}})
    runSql(db_, QStringLiteral("INSERT INTO Linhas (Grupo, Letra, Texto) VALUES (?, ?, 'igual')"),
           {QString::fromLatin1(group), QString::fromLatin1(letter)});
  QSqlQuery kept =
      runSql(db_, QStringLiteral("SELECT * FROM (%1) u ORDER BY 1, 2")
                      .arg(dialect().onePerKeySql(QStringLiteral("l.Grupo, l.Letra, l.Texto"),
                                                  QStringLiteral("l.Grupo, l.Letra"),
                                                  QStringLiteral("(SELECT * FROM Linhas) l"))));
  QStringList rows;
  while (kept.next())
    rows << kept.value(0).toString() + kept.value(1).toString() + kept.value(2).toString();
  EXPECT_EQ(rows, (QStringList{"AXigual", "AYigual", "BXigual"}));
}

// Backups count and restores replace the tables of the session's own schema, and only those.
TEST_P(EngineDialect, RowCountsNameTheTablesOfTheSessionsSchema) {
  runSql(db_, QStringLiteral("INSERT INTO Linhas (Grupo) VALUES ('A'), ('B')"));
  if (GetParam() == Provider::PostgreSQL) {
    runSql(db_, QStringLiteral("CREATE SCHEMA outro"));
    runSql(db_, QStringLiteral("CREATE TABLE outro.escondida (X INTEGER)"));
  }
  QMap<QString, qint64> counts;
  for (auto [table, count] : dialect().rowCounts(db_).asKeyValueRange())
    counts.insert(table.toLower(), count);
  EXPECT_EQ(counts, (QMap<QString, qint64>{{QStringLiteral("linhas"), 2}}));
}

INSTANTIATE_TEST_SUITE_P(Providers, EngineDialect, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
