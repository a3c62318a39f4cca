// What the series builder leaves on the members' portal, on each provider: today's rows of the
// block, the older dates gone, the member's and the gym's records, and a failure that leaves the
// portal as it was.
#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <thread>

#include "base/messages.h"
#include "data/schema.h"
#include "data/sql.h"
#include "portal/portal_publish.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QString kAna = QStringLiteral("0000000012");
const QDate kToday(2026, 3, 4);

WorkoutRow row(const char* code, const char* series, const char* obs = "") {
  WorkoutRow r;
  r.code = QString::fromLatin1(code);
  r.descricao = QStringLiteral("EXERCICIO ") + r.code;
  r.aparelho = QStringLiteral("007");
  r.series = QString::fromLatin1(series);
  r.obs = QString::fromLatin1(obs);
  return r;
}

class PortalPublish : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    QList<TableDef> tables;
    for (const char* name :
         {"Portal_Treino", "Portal_Aerobica", "Portal_Alongamento", "Alunos", "Clientes"})
      tables << *findTable(Database::Portal, QString::fromLatin1(name));
    ASSERT_TRUE(createMissingTables(db_, connection_->dialect(), tables).ok());
    who_.customer = 7;
    who_.academia = QStringLiteral("ACADEMIA SETE");
    who_.matricula = kAna;
    who_.cpf = QStringLiteral("12345678909");
    who_.nome = QStringLiteral("ANA LIMA");
    who_.email = QStringLiteral("ana@exemplo.com");
    who_.assessment = SheetAssessment{};
  }

  WorkoutSave save(const QString& letter, const QDate& day, QList<WorkoutRow> rows) {
    WorkoutSave s;
    s.matricula = kAna;
    s.letter = letter;
    s.professor = QStringLiteral("0000000003");
    s.moment = QDateTime(day, QTime(9, 0));
    s.changeDate = day.addMonths(3);
    s.boxes = freshWeekdays();
    s.boxes[1].checked = true;
    s.rows = std::move(rows);
    return s;
  }

  Outcome publish(const WorkoutSave& s) {
    return writeInTransaction(db_, QStringLiteral("Portal_Treino"),
                              [&] { publishWorkoutRows(db_, who_, s); });
  }

  QStringList portalRows(const QString& extra = QString()) {
    QSqlQuery q = runSql(db_, QStringLiteral("SELECT cliente, Treino, Data, Codigo_exercicio, "
                                             "Ordem FROM Portal_Treino %1 ORDER BY cliente, "
                                             "Treino, Data, Ordem")
                                  .arg(extra));
    QStringList rows;
    while (q.next())
      rows << QStringLiteral("%1 %2 %3 %4@%5")
                  .arg(q.value(0).toInt())
                  .arg(q.value(1).toString(), q.value(2).toDate().toString(Qt::ISODate),
                       q.value(3).toString())
                  .arg(q.value(4).toInt());
    return rows;
  }

  int count(const QString& sql, const QVariantList& values = {}) {
    return scalarSql(db_, sql, values).toInt();
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
  PortalContext who_;
};

TEST_P(PortalPublish, TodaysRowsAreReplacedAndOlderDatesOfTheLetterGo) {
  ASSERT_TRUE(publish(save(QStringLiteral("A"), kToday.addDays(-10), {row("001", "3")})));
  ASSERT_TRUE(publish(save(QStringLiteral("B"), kToday.addDays(-5), {row("002", "3")})));
  // Another gym's copy of the same registration is never touched.
  runSql(db_,
         QStringLiteral("INSERT INTO Portal_Treino (cliente, Matricula, Treino, Data, "
                        "Codigo_exercicio, Ordem) VALUES (8, ?, 'A', ?, '009', 1)"),
         {kAna, kToday.addDays(-30)});
  ASSERT_TRUE(publish(save(QStringLiteral("A"), kToday, {row("003", "3"), row("004", "")})));
  ASSERT_TRUE(publish(save(QStringLiteral("A"), kToday,
                           {row("005", "4"), row("006", ""), row("007", "", "LENTO")})));
  EXPECT_EQ(portalRows(), (QStringList{"7 A 2026-03-04 005@1", "7 A 2026-03-04 007@2",
                                       "7 B 2026-02-27 002@1", "8 A 2026-02-02 009@1"}));
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT Professor FROM Portal_Treino WHERE "
                                          "Codigo_exercicio = '005'"))
                .toString(),
            QStringLiteral("0000000003"));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Treino WHERE Seg = ? AND "
                                 "Descricao = 'EXERCICIO 005' AND CPF = '12345678909'"),
                  {true}),
            1);
}

TEST_P(PortalPublish, TheMemberKeepsOneRecordAndTheGymRecordIsOnlyCreated) {
  ASSERT_TRUE(publish(save(QStringLiteral("A"), kToday, {row("001", "3")})));
  const QVariant id = scalarSql(db_, QStringLiteral("SELECT ID FROM Alunos"));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alunos WHERE cliente = 7 AND CPF = "
                                 "'12345678909' AND Email = 'ana@exemplo.com' AND Nome = "
                                 "'ANA LIMA' AND Matricula = ?"),
                  {kAna}),
            1);
  // A new e-mail, the same CPF: the same record, with the new address.
  who_.email = QStringLiteral("ana.lima@exemplo.com");
  who_.academia = QStringLiteral("NOME NOVO");
  who_.assessment = SheetAssessment{QStringLiteral("Estético - "), QStringLiteral("72,5"),
                                    QString(), QDate(2026, 7, 15)};
  ASSERT_TRUE(publish(save(QStringLiteral("A"), kToday, {row("001", "3")})));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alunos")), 1);
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT ID FROM Alunos")), id);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alunos WHERE Email = "
                                 "'ana.lima@exemplo.com' AND Objetivo = 'Estético - ' AND Peso = "
                                 "'72,5' AND Reavaliacao = '15/07/2026' AND Gordura IS NULL")),
            1);
  // The gym keeps the name it was first published with.
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT academia FROM Clientes WHERE cod_cliente = 7"))
                .toString(),
            QStringLiteral("ACADEMIA SETE"));
  // A member without CPF is published from the builder, found again by e-mail.
  who_.cpf.clear();
  ASSERT_TRUE(publish(save(QStringLiteral("B"), kToday, {row("001", "3")})));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alunos")), 1);
}

TEST_P(PortalPublish, AerobicAndStretchingBlocksFollowTheirSaves) {
  const WeekdayFlags monday{false, true, false, false, false, false, false};
  QList<AerobicRow> rows{AerobicRow{QStringLiteral("101"), QStringLiteral("ESTEIRA"),
                                    QStringLiteral("001"), 20, 6.5, 2},
                         AerobicRow{QStringLiteral("102"), QStringLiteral("BICICLETA"),
                                    QStringLiteral("002"), 15, 0, 0}};
  const auto aerobic = [&](const QDate& day) {
    return writeInTransaction(db_, QStringLiteral("Portal_Aerobica"), [&] {
      publishAerobicRows(db_, who_, QStringLiteral("0000000003"), day, monday, rows);
    });
  };
  ASSERT_TRUE(aerobic(kToday.addDays(-3)));
  ASSERT_TRUE(aerobic(kToday));
  rows[1] = AerobicRow{rows[1].code, rows[1].descricao, rows[1].aparelho};
  ASSERT_TRUE(aerobic(kToday));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Aerobica")), 1);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Aerobica WHERE Codigo_exercicio = "
                                 "'101' AND Data = ? AND Seg = ? AND Descricao = 'ESTEIRA'"),
                  {kToday, true}),
            1);

  StretchChoice choice;
  choice.stretches[0] = true;
  const auto stretching = [&](const QString& letter, const QDate& day) {
    return writeInTransaction(db_, QStringLiteral("Portal_Alongamento"),
                              [&] { publishStretchingRow(db_, who_, letter, day, choice); });
  };
  ASSERT_TRUE(stretching(QStringLiteral("A"), kToday.addDays(-1)));
  ASSERT_TRUE(stretching(QStringLiteral("B"), kToday.addDays(-1)));
  ASSERT_TRUE(stretching(QStringLiteral("A"), kToday));
  choice.obs = QStringLiteral("SEGURAR");
  ASSERT_TRUE(stretching(QStringLiteral("A"), kToday));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Alongamento WHERE Treino = 'A'")), 1);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Alongamento WHERE Treino = 'B'")), 1);
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT Obs FROM Portal_Alongamento WHERE Treino = 'A'"))
                .toString(),
            QStringLiteral("SEGURAR"));
}

TEST_P(PortalPublish, AFailureLeavesThePortalAsItWas) {
  ASSERT_TRUE(publish(save(QStringLiteral("A"), kToday.addDays(-10), {row("001", "3")})));
  const QStringList before = portalRows();
  who_.cpf = QStringLiteral("98765432100");  // a new record would be created: make that fail
  who_.email = QStringLiteral("outra@exemplo.com");
  if (GetParam() == Provider::SQLite) {
    runSql(db_, QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON Alunos BEGIN SELECT "
                               "RAISE(ABORT, 'falha forçada'); END"));
  } else {
    runSql(db_, QStringLiteral("CREATE FUNCTION falha() RETURNS trigger LANGUAGE plpgsql AS $$ "
                               "BEGIN RAISE EXCEPTION 'falha forçada'; END $$"));
    runSql(db_, QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON Alunos FOR EACH ROW "
                               "EXECUTE FUNCTION falha()"));
  }
  EXPECT_FALSE(publish(save(QStringLiteral("A"), kToday, {row("002", "3")})).okOrTell());
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Portal_Treino"));
  EXPECT_EQ(portalRows(), before);
}

TEST_P(PortalPublish, TwoWorkstationsPublishingTheSameLetterAtOnceLeaveOneWholeSave) {
  constexpr int kRounds = 15;
  std::latch start(2);
  std::atomic<int> failed = 0;
  auto workstation = [&](int number) {
    std::unique_ptr<Connection> own = database_.connect(QStringLiteral("estacao%1").arg(number));
    const QSqlDatabase db = own->database();
    start.arrive_and_wait();
    for (int round = 0; round < kRounds; ++round) {
      // Every round is a gym new to the portal, so both also race to add its record.
      PortalContext who = who_;
      who.customer = 100 + round;
      QList<WorkoutRow> rows;
      for (int r = 0; r < 4; ++r)
        rows << row(qPrintable(QStringLiteral("%1%2").arg(number).arg(r, 2, 10, QLatin1Char('0'))),
                    "3");
      const WorkoutSave s = save(QStringLiteral("A"), kToday, rows);
      if (!writeInTransaction(db, QStringLiteral("Portal_Treino"),
                              [&] { publishWorkoutRows(db, who, s); }))
        ++failed;
    }
  };
  std::thread first(workstation, 1);
  std::thread second(workstation, 2);
  first.join();
  second.join();
  EXPECT_EQ(failed, 0);
  for (int round = 0; round < kRounds; ++round) {
    const int customer = 100 + round;
    QSqlQuery q = runSql(db_,
                         QStringLiteral("SELECT Codigo_exercicio, Ordem FROM Portal_Treino WHERE "
                                        "cliente = ? ORDER BY Ordem"),
                         {customer});
    QStringList codes;
    while (q.next()) codes << q.value(0).toString() + QLatin1Char('@') + q.value(1).toString();
    ASSERT_EQ(codes.size(), 4) << codes.join(QLatin1Char(' ')).toStdString();
    for (const QString& code : codes) EXPECT_EQ(code.left(1), codes[0].left(1)) << customer;
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM Clientes WHERE cod_cliente = ?"), {customer}),
        1);
  }
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alunos")), 1);
}

INSTANTIATE_TEST_SUITE_P(Providers, PortalPublish, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
