// The series history on each provider: the dated workouts listed newest first, and the deletion
// of one with exactly what belongs to it, whole or not at all.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "data/schema.h"
#include "data/sql.h"
#include "prescription/history_store.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QString kAna = QStringLiteral("0000000012");
const QString kBia = QStringLiteral("0000000013");
const QDate kOld(2026, 3, 2);
const QDate kMid(2026, 5, 4);
const QDate kNew(2026, 8, 3);

class HistoryStore : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    QList<TableDef> tables;
    for (const char* name : {"Treino", "Agendado", "Aerobica", "Alongamento"})
      tables << *findTable(Database::Workout, QString::fromLatin1(name));
    const SchemaReport report = createMissingTables(db_, connection_->dialect(), tables);
    ASSERT_TRUE(report.ok()) << report.error.toStdString();
    // Ana: "B" on three days, "A" on the middle one with its aerobic block; Bia on the same
    // middle day, whom nothing done to Ana may touch.
    for (const QDate& day : {kOld, kMid, kNew}) storeDay(kAna, QStringLiteral("B"), day);
    storeDay(kAna, QStringLiteral("A"), kMid);
    storeDay(kBia, QStringLiteral("A"), kMid);
  }

  void storeDay(const QString& matricula, const QString& letter, const QDate& day) {
    for (int ordem = 1; ordem <= 2; ++ordem)
      runSql(db_,
             QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                            "Ordem) VALUES (?, ?, ?, ?, ?)"),
             {matricula, letter, QStringLiteral("00%1").arg(ordem), day, ordem});
    runSql(db_,
           QStringLiteral("INSERT INTO Alongamento (Matricula, Treino, Data, Obs) VALUES (?, ?, "
                          "?, 'x')"),
           {matricula, letter, day});
    runSql(db_,
           QStringLiteral("INSERT INTO Agendado (Matricula, Treino, Data, Usuario) VALUES (?, ?, "
                          "?, '01')"),
           {matricula, letter, day});
    if (letter == QStringLiteral("A"))
      runSql(db_,
             QStringLiteral("INSERT INTO Aerobica (Matricula, Codigo_exercicio, Data, Duracao) "
                            "VALUES (?, '101', ?, 20)"),
             {matricula, day});
  }

  // How many rows of `table` the member has on `day` (of `letter` when given).
  int count(const char* table, const QString& matricula, const QDate& day,
            const QString& letter = QString()) {
    QString sql = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Matricula = ? AND Data = ?")
                      .arg(QString::fromLatin1(table));
    QVariantList values{matricula, day};
    if (!letter.isEmpty()) {
      sql += QStringLiteral(" AND Treino = ?");
      values << letter;
    }
    return scalarSql(db_, sql, values).toInt();
  }

  // Every row of the four tables, to see that a refused deletion changed nothing.
  QList<int> everything() {
    QList<int> all;
    for (const char* table : {"Treino", "Aerobica", "Alongamento", "Agendado"})
      all << scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QString::fromLatin1(table)))
                 .toInt();
    return all;
  }

  void failDeletesOf(const QString& table) {
    if (GetParam() == Provider::SQLite) {
      runSql(db_, QStringLiteral("CREATE TRIGGER falha_exclusao BEFORE DELETE ON %1 BEGIN SELECT "
                                 "RAISE(ABORT, 'falha forçada'); END")
                      .arg(table));
      return;
    }
    runSql(db_, QStringLiteral("CREATE OR REPLACE FUNCTION falha_exclusao() RETURNS trigger "
                               "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'falha forçada'; "
                               "END $$"));
    runSql(db_, QStringLiteral("CREATE TRIGGER falha_exclusao BEFORE DELETE ON %1 FOR EACH ROW "
                               "EXECUTE FUNCTION falha_exclusao()")
                    .arg(table));
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(HistoryStore, ListsOneRowPerDayAndLetterNewestFirst) {
  const QList<DatedWorkout> expected{{kNew, QStringLiteral("B")},
                                     {kMid, QStringLiteral("A")},
                                     {kMid, QStringLiteral("B")},
                                     {kOld, QStringLiteral("B")}};
  EXPECT_EQ(datedWorkouts(db_, kAna), expected);
  EXPECT_TRUE(datedWorkouts(db_, QStringLiteral("0000000099")).isEmpty());
}

TEST_P(HistoryStore, DeletingAlsoRemovesTheBlocksOfTheDayThatBelongToTheLetter) {
  // "B" of the middle day: its own rows go, the aerobic block (part of "A") stays.
  ASSERT_TRUE(deleteDatedWorkout(db_, kAna, {kMid, QStringLiteral("B")}));
  EXPECT_EQ(count("Treino", kAna, kMid, QStringLiteral("B")), 0);
  EXPECT_EQ(count("Alongamento", kAna, kMid, QStringLiteral("B")), 0);
  EXPECT_EQ(count("Agendado", kAna, kMid, QStringLiteral("B")), 0);
  EXPECT_EQ(count("Aerobica", kAna, kMid), 1);
  EXPECT_EQ(count("Treino", kAna, kMid, QStringLiteral("A")), 2);

  // "A" of the same day takes that day's aerobic block with it, and nothing of other days or
  // of another member.
  ASSERT_TRUE(deleteDatedWorkout(db_, kAna, {kMid, QStringLiteral("A")}));
  for (const char* table : {"Treino", "Aerobica", "Alongamento", "Agendado"})
    EXPECT_EQ(count(table, kAna, kMid), 0) << table;
  EXPECT_EQ(count("Treino", kAna, kOld), 2);
  EXPECT_EQ(count("Treino", kAna, kNew), 2);
  EXPECT_EQ(count("Aerobica", kBia, kMid), 1);
  EXPECT_EQ(count("Treino", kBia, kMid), 2);
  const QList<DatedWorkout> left{{kNew, QStringLiteral("B")}, {kOld, QStringLiteral("B")}};
  EXPECT_EQ(datedWorkouts(db_, kAna), left);
}

TEST_P(HistoryStore, AFailingStepRemovesNothing) {
  failDeletesOf(QStringLiteral("Agendado"));  // the last of the four
  const QList<int> before = everything();
  const Outcome deleted = deleteDatedWorkout(db_, kAna, {kMid, QStringLiteral("A")});
  ASSERT_FALSE(deleted);
  EXPECT_EQ(deleted.failure().text, Msg::GravandoNaTabela);
  EXPECT_EQ(deleted.failure().detail, QStringLiteral("Banco de Dados"));
  EXPECT_EQ(everything(), before);
}

TEST_P(HistoryStore, AWorkoutDeletedAtAnotherWorkstationIsNotDeletedAgain) {
  std::unique_ptr<Connection> other = database_.connect(QStringLiteral("outra-estacao"));
  ASSERT_TRUE(deleteDatedWorkout(other->database(), kAna, {kMid, QStringLiteral("B")}));
  // Meanwhile a new assembly of "B" was booked for that day: the late deletion must not take it.
  runSql(db_,
         QStringLiteral("INSERT INTO Agendado (Matricula, Treino, Data, Usuario) VALUES (?, 'B', "
                        "?, '02')"),
         {kAna, kMid});
  const QList<int> before = everything();
  const Outcome again = deleteDatedWorkout(db_, kAna, {kMid, QStringLiteral("B")});
  ASSERT_FALSE(again);
  EXPECT_EQ(again.failure().text, Msg::NenhumResultadoEncontrado);
  EXPECT_EQ(again.failure().detail, QStringLiteral("Treino"));
  EXPECT_EQ(everything(), before);
}

INSTANTIATE_TEST_SUITE_P(Providers, HistoryStore, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
