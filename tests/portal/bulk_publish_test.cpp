// Publishing a period in bulk, on each provider: who is published, what the portal holds after
// one run and after the same run again, the older dates removed, and a failure in the middle.
#include <gtest/gtest.h>

#include <QSqlRecord>
#include <atomic>
#include <latch>
#include <thread>

#include "data/schema.h"
#include "data/sql.h"
#include "portal/bulk_publish.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QDate kFrom(2026, 3, 1);
const QDate kTo(2026, 3, 31);

class BulkPublish : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    workoutConnection_ = workout_.connect(QStringLiteral("treinos"));
    portalConnection_ = portal_.connect(QStringLiteral("portal"));
    wdb_ = workoutConnection_->database();
    pdb_ = portalConnection_->database();
    QList<TableDef> workoutTables;
    for (const char* name : {"Treino", "Aerobica", "Alongamento", "Exercicios", "Alunos"})
      workoutTables << *findTable(Database::Workout, QString::fromLatin1(name));
    ASSERT_TRUE(createMissingTables(wdb_, workoutConnection_->dialect(), workoutTables).ok());
    QList<TableDef> portalTables;
    for (const char* name :
         {"Portal_Treino", "Portal_Aerobica", "Portal_Alongamento", "Alunos", "Clientes"})
      portalTables << *findTable(Database::Portal, QString::fromLatin1(name));
    ASSERT_TRUE(createMissingTables(pdb_, portalConnection_->dialect(), portalTables).ok());

    for (const auto& [code, name] :
         {std::pair{"001", "SUPINO"}, {"002", "ROSCA"}, {"101", "ESTEIRA"}})
      runSql(wdb_,
             QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Aparelho) VALUES "
                            "(?, ?, '007')"),
             {code, name});
    for (const auto& [matricula, nome, cpf] : {std::tuple{"0000000001", "ANA", "123.456.789-09"},
                                               {"0000000002", "BRUNO", "111"},
                                               {"0000000003", "CARLA", ""},
                                               {"0000000004", "DANI", "52998224725"}})
      runSql(wdb_,
             QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, CPF, EMAIL) VALUES (?, ?, "
                            "?, 'x@y.com')"),
             {matricula, nome, cpf});
    strength("0000000001", "A", QDate(2026, 3, 10), "001");
    strength("0000000001", "B", QDate(2026, 3, 20), "002");
    strength("0000000002", "A", QDate(2026, 3, 12), "001");
    strength("0000000003", "A", QDate(2026, 2, 12), "001");  // before the period
    runSql(wdb_,
           QStringLiteral("INSERT INTO Aerobica (Matricula, Codigo_exercicio, Data, Duracao, "
                          "Professor) VALUES ('0000000004', '101', ?, 20, '0000000009')"),
           {QDate(2026, 3, 5)});
    runSql(wdb_,
           QStringLiteral("INSERT INTO Alongamento (Matricula, Treino, Data, Obs) VALUES "
                          "('0000000001', 'A', ?, 'SEGURAR')"),
           {QDate(2026, 3, 10)});
  }

  void strength(const char* matricula, const char* letter, const QDate& day, const char* code) {
    runSql(wdb_,
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Data, Codigo_exercicio, "
                          "Series, Ordem, Professor) VALUES (?, ?, ?, ?, '3', 1, "
                          "'0000000009')"),
           {matricula, letter, day, code});
  }

  BulkInput input() {
    BulkInput in;
    in.from = kFrom;
    in.to = kTo;
    in.customer = 7;
    in.academia = QStringLiteral("ACADEMIA SETE");
    in.members =
        memberDetails(wdb_, QStringLiteral("Alunos"), membersWithSeriesIn(wdb_, kFrom, kTo));
    in.staffNames.insert(QStringLiteral("0000000009"), QStringLiteral("CARLOS PROFESSOR"));
    return in;
  }

  std::optional<BulkSummary> run(const BulkInput& in) {
    std::optional<BulkSummary> summary;
    if (!writeInTransaction(pdb_, QStringLiteral("Portal_Treino"),
                            [&] { summary = publishPeriod(wdb_, pdb_, in); }))
      return std::nullopt;
    return summary;
  }

  // Everything the portal holds, row by row, identifiers left out.
  QStringList portal() {
    QStringList all;
    for (const char* table :
         {"Portal_Treino", "Portal_Aerobica", "Portal_Alongamento", "Alunos", "Clientes"}) {
      QSqlQuery q =
          runSql(pdb_, QStringLiteral("SELECT * FROM %1").arg(QString::fromLatin1(table)));
      while (q.next()) {
        QStringList values;
        const QSqlRecord r = q.record();
        for (int c = 0; c < r.count(); ++c)
          if (r.fieldName(c).compare(QStringLiteral("id"), Qt::CaseInsensitive) != 0)
            values << r.value(c).toString();
        all << QString::fromLatin1(table) + QLatin1Char(':') + values.join(QLatin1Char('|'));
      }
    }
    all.sort();
    return all;
  }

  int count(const QString& sql) { return scalarSql(pdb_, sql).toInt(); }

  TestDatabase workout_{GetParam()};
  TestDatabase portal_{GetParam()};
  std::unique_ptr<Connection> workoutConnection_;
  std::unique_ptr<Connection> portalConnection_;
  QSqlDatabase wdb_;
  QSqlDatabase pdb_;
};

TEST_P(BulkPublish, MembersWithAValidCpfArePublishedOnceAndASecondRunChangesNothing) {
  EXPECT_EQ(membersWithSeriesIn(wdb_, kFrom, kTo),
            (QStringList{"0000000001", "0000000002", "0000000004"}));
  // The same exercise twice in one workout is one portal row.
  strength("0000000004", "C", QDate(2026, 3, 6), "002");
  strength("0000000004", "C", QDate(2026, 3, 6), "002");
  const std::optional<BulkSummary> first = run(input());
  ASSERT_TRUE(first);
  EXPECT_EQ(first->published, 2);
  EXPECT_EQ(first->skipped, 1);
  EXPECT_EQ(first->rowsWritten, 5);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Treino WHERE Matricula = "
                                 "'0000000004'")),
            1);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alunos WHERE CPF = '12345678909' AND "
                                 "Nome = 'ANA' AND cliente = 7")),
            1);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Treino WHERE Matricula = "
                                 "'0000000001' AND Descricao IN ('SUPINO', 'ROSCA') AND "
                                 "Professor = 'CARLOS PROFESSOR'")),
            2);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Treino WHERE Matricula = "
                                 "'0000000002'")),
            0);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Aerobica WHERE CPF = "
                                 "'52998224725' AND Descricao = 'ESTEIRA'")),
            1);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Portal_Alongamento WHERE Obs = "
                                 "'SEGURAR'")),
            1);
  const QStringList once = portal();
  const std::optional<BulkSummary> second = run(input());
  ASSERT_TRUE(second);
  EXPECT_EQ(second->rowsWritten, 0);
  EXPECT_EQ(second->rowsRemoved, 0);
  EXPECT_EQ(portal(), once);
}

TEST_P(BulkPublish, ALaterSaveOfALetterRemovesItsOlderDateAndKeepsTheOtherLetters) {
  ASSERT_TRUE(run(input()));
  strength("0000000001", "A", QDate(2026, 3, 25), "002");
  BulkInput in = input();
  in.academia = QStringLiteral("NOME NOVO");
  const std::optional<BulkSummary> again = run(in);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->rowsRemoved, 1);
  QSqlQuery rows = runSql(pdb_, QStringLiteral("SELECT Treino, Data FROM Portal_Treino ORDER BY "
                                               "Treino, Data"));
  QStringList kept;
  while (rows.next())
    kept << rows.value(0).toString() + QLatin1Char(' ') +
                rows.value(1).toDate().toString(Qt::ISODate);
  EXPECT_EQ(kept, (QStringList{"A 2026-03-25", "B 2026-03-20"}));
  // With two dates of a letter in the period, a repeated run neither writes nor removes.
  const std::optional<BulkSummary> repeated = run(in);
  ASSERT_TRUE(repeated);
  EXPECT_EQ(repeated->rowsWritten, 0);
  EXPECT_EQ(repeated->rowsRemoved, 0);
  // The bulk run refreshes the gym's name.
  EXPECT_EQ(scalarSql(pdb_, QStringLiteral("SELECT academia FROM Clientes WHERE cod_cliente = 7"))
                .toString(),
            QStringLiteral("NOME NOVO"));
}

TEST_P(BulkPublish, AFailureInTheMiddleLeavesThePortalExactlyAsBefore) {
  ASSERT_TRUE(run(input()));
  const QStringList before = portal();
  runSql(wdb_, QStringLiteral("UPDATE Alongamento SET Obs = 'NOVO'"));
  strength("0000000001", "C", QDate(2026, 3, 26), "001");
  if (GetParam() == Provider::SQLite) {
    runSql(pdb_, QStringLiteral("CREATE TRIGGER falha BEFORE INSERT ON Portal_Alongamento BEGIN "
                                "SELECT RAISE(ABORT, 'falha forçada'); END"));
    runSql(pdb_, QStringLiteral("CREATE TRIGGER falha2 BEFORE UPDATE ON Portal_Alongamento BEGIN "
                                "SELECT RAISE(ABORT, 'falha forçada'); END"));
  } else {
    runSql(pdb_, QStringLiteral("CREATE FUNCTION falha() RETURNS trigger LANGUAGE plpgsql AS $$ "
                                "BEGIN RAISE EXCEPTION 'falha forçada'; END $$"));
    runSql(pdb_, QStringLiteral("CREATE TRIGGER falha BEFORE INSERT OR UPDATE ON "
                                "Portal_Alongamento FOR EACH ROW EXECUTE FUNCTION falha()"));
  }
  EXPECT_FALSE(run(input()));
  EXPECT_EQ(portal(), before);
}

// The assessment values come once for the whole run: a member without any gets the blank ones,
// and values that cannot be read leave what the portal shows.
TEST_P(BulkPublish, TheRunsAssessmentValuesGoToEachPublishedMember) {
  const auto record = [&](const char* cpf) {
    QSqlQuery row = runSql(pdb_,
                           QStringLiteral("SELECT Objetivo, Peso, Gordura, Reavaliacao FROM "
                                          "Alunos WHERE CPF = ?"),
                           {QString::fromLatin1(cpf)});
    QStringList values;
    if (row.next())
      for (int c = 0; c < 4; ++c)
        values << (row.isNull(c) ? QStringLiteral("<nulo>") : row.value(c).toString());
    return values.join(QLatin1Char('|'));
  };
  int reads = 0;
  BulkInput in = input();
  in.assessments = [&] {
    ++reads;
    return std::optional(
        QHash<QString, SheetAssessment>{{QStringLiteral("0000000001"),
                                         {QStringLiteral("Estético - "), QStringLiteral("72,5"),
                                          QStringLiteral("18"), QDate(2026, 6, 10)}}});
  };
  ASSERT_TRUE(run(in));
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(record("12345678909"), QStringLiteral("Estético - |72,5|18|10/06/2026"));
  EXPECT_EQ(record("52998224725"), QStringLiteral("<nulo>|<nulo>|<nulo>|<nulo>"));

  in.assessments = [] { return std::optional<QHash<QString, SheetAssessment>>(); };
  ASSERT_TRUE(run(in));
  EXPECT_EQ(record("12345678909"), QStringLiteral("Estético - |72,5|18|10/06/2026"));
}

TEST_P(BulkPublish, TwoWorkstationsPublishingAtOnceLeaveWhatOneRunLeaves) {
  ASSERT_TRUE(run(input()));
  const QStringList once = portal();
  const BulkInput in = input();
  constexpr int kRounds = 5;
  for (int round = 0; round < kRounds; ++round) {
    for (const char* table :
         {"Portal_Treino", "Portal_Aerobica", "Portal_Alongamento", "Alunos", "Clientes"})
      runSql(pdb_, QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(table)));
    std::latch start(2);
    std::atomic<int> failed = 0;
    auto workstation = [&](int number) {
      auto workout = workout_.connect(QStringLiteral("treinos%1").arg(number));
      auto portal = portal_.connect(QStringLiteral("portal%1").arg(number));
      start.arrive_and_wait();
      const Outcome ok =
          writeInTransaction(portal->database(), QStringLiteral("Portal_Treino"),
                             [&] { publishPeriod(workout->database(), portal->database(), in); });
      if (!ok) ++failed;
    };
    std::thread first(workstation, 1);
    std::thread second(workstation, 2);
    first.join();
    second.join();
    EXPECT_EQ(failed, 0) << "round " << round;
    EXPECT_EQ(portal(), once) << "round " << round;
  }
}

TEST(BulkCpf, OnlyValidCpfsArePublishedAndMasksAreTakenOut) {
  const struct {
    const char* stored;
    std::optional<QString> published;
  } cases[] = {{"123.456.789-09", QStringLiteral("12345678909")},
               {"12345678909", QStringLiteral("12345678909")},
               {"123.456.789-00", std::nullopt},
               {"111.111.111-11", std::nullopt},
               {"", std::nullopt},
               {"1234567890", std::nullopt}};
  for (const auto& c : cases)
    EXPECT_EQ(bulkCpf(QString::fromLatin1(c.stored)), c.published) << c.stored;
}

INSTANTIATE_TEST_SUITE_P(Providers, BulkPublish, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
