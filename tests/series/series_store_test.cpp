// What the builder reads and writes, on each provider: instructors, stored workouts, the
// picking list and the new order of a workout saved today.
#include <gtest/gtest.h>

#include <thread>

#include "data/schema.h"
#include "data/sql.h"
#include "series/series_store.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QString kAna = QStringLiteral("0000000012");

class SeriesStore : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    QList<TableDef> tables;
    for (const char* name :
         {"Treino", "Exercicios", "GrupamentoMuscular", "Usuarios", "Funcionarios"})
      tables << *findTable(Database::Workout, QString::fromLatin1(name));
    tables << *findTable(Database::Portal, QStringLiteral("Portal_Treino"));
    const SchemaReport report = createMissingTables(db_, connection_->dialect(), tables);
    ASSERT_TRUE(report.ok()) << report.error.toStdString();
  }

  void exercise(const char* code, const char* name, const char* tipo = "N",
                const char* group = "01", const char* aparelho = "") {
    runSql(db_,
           QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, CODIGO_G, Aparelho) "
                          "VALUES (?, ?, ?, ?, ?)"),
           {code, name, tipo, group, aparelho});
  }

  // One stored row of a workout; `days` Sunday first.
  void stored(const char* letter, const QDate& day, const char* code, int ordem,
              const char* days = "0101010", const QString& table = QStringLiteral("Treino"),
              const QVariant& cliente = QVariant()) {
    QString columns = QStringLiteral("Matricula, Treino, Data, Codigo_exercicio, Ordem, Series");
    QVariantList values{kAna, letter, day, code, ordem, QStringLiteral("3")};
    for (int d = 0; d < kWeekdayCount; ++d) {
      columns += QStringLiteral(", ") + weekdayColumns()[d];
      values << (days[d] == '1');
    }
    if (cliente.isValid()) {
      columns += QStringLiteral(", cliente");
      values << cliente;
    }
    runSql(db_,
           QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
               .arg(table, columns, QStringLiteral(", ?").repeated(values.size() - 1)),
           values);
  }

  QStringList codesOf(const QList<WorkoutRow>& rows) {
    QStringList codes;
    for (const WorkoutRow& r : rows) codes << r.code;
    return codes;
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(SeriesStore, InstructorsAreActiveMuscleTeachersAndLinkedUsersSeeOnlyThemselves) {
  const struct {
    const char* matricula;
    const char* nome;
    const char* cargo;
    QVariant demissao;
  } staff[] = {{"0000000003", "CARLOS", "PROF MUSC", {}},
               {"0000000001", "BEATRIZ", "PROF MUSC II", {}},
               {"0000000002", "ANTONIO", "PROF MUSC", QDate(2023, 5, 1)},
               {"0000000004", "DANIEL", "RECEPCAO", {}},
               {"0000000005", "EVA", "prof musc", {}}};
  for (const auto& s : staff)
    runSql(
        db_,
        QStringLiteral(
            "INSERT INTO Funcionarios (MATRICULA, NOME, CARGO, DATA_DEMISSAO) VALUES (?, ?, ?, ?)"),
        {s.matricula, s.nome, s.cargo,
         s.demissao.isValid() ? s.demissao : QVariant(QMetaType(QMetaType::QDate))});
  const QString table = QStringLiteral("Funcionarios");
  EXPECT_EQ(instructorEntries(db_, table, QStringLiteral("NOME"), std::nullopt),
            (QStringList{"0000000001 - BEATRIZ", "0000000003 - CARLOS"}));
  EXPECT_EQ(instructorEntries(db_, table, QStringLiteral("MATRICULA"), std::nullopt),
            (QStringList{"0000000001 - BEATRIZ", "0000000003 - CARLOS"}));

  runSql(db_, QStringLiteral("INSERT INTO Usuarios (CODIGO, NOME, MATRICULA) VALUES (?, ?, ?)"),
         {"02", "RICARDO", "0000000003"});
  runSql(db_, QStringLiteral("INSERT INTO Usuarios (CODIGO, NOME, MATRICULA) VALUES (?, ?, ?)"),
         {"03", "PAULO", "0000000002"});
  runSql(db_, QStringLiteral("INSERT INTO Usuarios (CODIGO, NOME) VALUES (?, ?)"), {"04", "LIA"});
  const struct {
    const char* user;
    QStringList entries;
  } linked[] = {{"02", {"0000000003 - CARLOS"}}, {"03", {}}, {"04", {}}, {"99", {}}};
  for (const auto& l : linked)
    EXPECT_EQ(instructorEntries(db_, table, QStringLiteral("NOME"),
                                linkedStaffMatricula(db_, QString::fromLatin1(l.user))),
              l.entries)
        << l.user;
}

TEST_P(SeriesStore, TheCurrentWorkoutIsTheLatestDateAndSurvivesAnExerciseLeavingTheCatalogue) {
  exercise("001", "SUPINO", "N", "01", "005");
  exercise("002", "ROSCA");
  stored("A", QDate(2024, 1, 10), "001", 1, "1000000");
  stored("A", QDate(2024, 3, 5), "002", 2, "0101010");
  stored("A", QDate(2024, 3, 5), "001", 1, "0101010");
  stored("A", QDate(2024, 3, 5), "007", 3, "0101010");  // no longer in the catalogue
  stored("B", QDate(2024, 6, 1), "002", 1, "0010100");

  const QList<WorkoutRow> a = currentWorkout(db_, kAna, QStringLiteral("A"));
  EXPECT_EQ(codesOf(a), (QStringList{"001", "002", "007"}));
  EXPECT_EQ(a[0].descricao, QStringLiteral("SUPINO"));
  EXPECT_EQ(a[0].aparelho, QStringLiteral("005"));
  EXPECT_EQ(a[0].series, QStringLiteral("3"));
  EXPECT_EQ(a[0].treino, QStringLiteral("A"));
  EXPECT_TRUE(a[2].descricao.isEmpty());
  EXPECT_TRUE(a[2].aparelho.isEmpty());
  EXPECT_EQ(a[2].ordem, 3);

  EXPECT_EQ(storedDays(db_, kAna, QStringLiteral("B")),
            (WeekdayFlags{false, false, true, false, true, false, false}));
  EXPECT_FALSE(storedDays(db_, kAna, QStringLiteral("C")));
  EXPECT_FALSE(storedDays(db_, QStringLiteral("0000000099"), QStringLiteral("A")));
  EXPECT_EQ(codesOf(workoutOfDay(db_, kAna, QStringLiteral("A"), QDate(2024, 1, 10))),
            QStringList{"001"});
  // A registration number is a value, never SQL.
  EXPECT_TRUE(currentWorkout(db_, QStringLiteral("1' OR '1'='1"), QStringLiteral("A")).isEmpty());
}

TEST_P(SeriesStore, TheNewOrderRenumbersOnlyThatDaysRowsByExerciseCode) {
  const QDate today(2024, 3, 5);
  stored("A", today, "001", 1);
  stored("A", today, "002", 2);
  stored("A", today, "003", 3);
  stored("A", QDate(2024, 1, 10), "001", 1);
  stored("B", today, "001", 1);
  stored("A", today, "001", 1, "0000000", QStringLiteral("Portal_Treino"), 7);
  stored("A", today, "003", 2, "0000000", QStringLiteral("Portal_Treino"), 7);
  stored("A", today, "001", 1, "0000000", QStringLiteral("Portal_Treino"), 8);

  QList<WorkoutRow> scratch(3);
  scratch[0].code = QStringLiteral("003");
  scratch[0].novaOrdem = 1;
  scratch[1].code = QStringLiteral("001");
  scratch[1].novaOrdem = 2;
  scratch[2].code = QStringLiteral("001");  // a second 001: the first one counts
  scratch[2].novaOrdem = 3;
  ASSERT_TRUE(writeNewOrder(db_, kAna, QStringLiteral("A"), today, scratch, std::nullopt));
  EXPECT_EQ(codesOf(workoutOfDay(db_, kAna, QStringLiteral("A"), today)),
            (QStringList{"003", "001", "002"}));
  const auto ordem = [&](const char* table, const char* letter, const QDate& day, const char* code,
                         const QString& extra = {}) {
    return scalarSql(db_,
                     QStringLiteral("SELECT Ordem FROM %1 WHERE Treino = ? AND Data = ? AND "
                                    "Codigo_exercicio = ?%2")
                         .arg(QString::fromLatin1(table), extra),
                     {letter, day, code})
        .toInt();
  };
  EXPECT_EQ(ordem("Treino", "A", today, "001"), 2);
  EXPECT_EQ(ordem("Treino", "A", today, "002"), 2);  // not in the scratch rows: kept
  EXPECT_EQ(ordem("Treino", "A", QDate(2024, 1, 10), "001"), 1);
  EXPECT_EQ(ordem("Treino", "B", today, "001"), 1);

  Transaction portal(db_);
  renumberStored(db_, QStringLiteral("Portal_Treino"), kAna, QStringLiteral("A"), today, 7,
                 scratch);
  portal.commit();
  EXPECT_EQ(ordem("Portal_Treino", "A", today, "001", QStringLiteral(" AND cliente = 7")), 2);
  EXPECT_EQ(ordem("Portal_Treino", "A", today, "001", QStringLiteral(" AND cliente = 8")), 1);
}

TEST_P(SeriesStore, AFailedReorderRollsBackAndSaysSo) {
  const QDate today(2024, 3, 5);
  stored("A", today, "001", 1);
  stored("A", today, "002", 2);
  QList<WorkoutRow> scratch(2);
  scratch[0].code = QStringLiteral("002");
  scratch[0].novaOrdem = 1;
  scratch[1].code = QStringLiteral("001");
  scratch[1].novaOrdem = 2;
  runSql(db_, QStringLiteral("DROP TABLE Treino"));
  EXPECT_FALSE(
      writeNewOrder(db_, kAna, QStringLiteral("A"), today, scratch, std::nullopt).okOrTell());
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, QStringLiteral("Gravando na tabela !"));
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Treino"));
}

TEST_P(SeriesStore, AReorderWaitsForASaveElsewhereAndRefusesAWorkoutThatChanged) {
  const QDate today(2024, 3, 5);
  stored("A", today, "001", 1);
  stored("A", today, "002", 2);
  QList<WorkoutRow> scratch(2);
  scratch[0].code = QStringLiteral("002");
  scratch[0].novaOrdem = 1;
  scratch[1].code = QStringLiteral("001");
  scratch[1].novaOrdem = 2;

  // Another workstation is saving the same workout again, with other exercises, when the
  // reorder is confirmed here.
  std::unique_ptr<Connection> other = database_.connect(QStringLiteral("outra"));
  std::optional<Transaction> saving(std::in_place, other->database());
  lockForNumbering(other->database(), QStringLiteral("Treino"));
  runSql(other->database(), QStringLiteral("DELETE FROM Treino"));
  runSql(other->database(),
         QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, Ordem) "
                        "VALUES (?, 'A', '003', ?, 1), (?, 'A', '001', ?, 2)"),
         {kAna, today, kAna, today});
  std::optional<Outcome> reordered;
  std::thread here([&] {
    std::unique_ptr<Connection> own = database_.connect(QStringLiteral("aqui"));
    reordered = writeNewOrder(own->database(), kAna, QStringLiteral("A"), today, scratch,
                              std::nullopt);
  });
  if (GetParam() == Provider::PostgreSQL)  // the reorder is waiting for its turn
    while (scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM pg_locks WHERE NOT granted"))
               .toInt() == 0)
      std::this_thread::yield();
  saving->commit();
  saving.reset();
  here.join();
  ASSERT_TRUE(reordered);
  ASSERT_FALSE(*reordered);
  EXPECT_EQ(reordered->failure().text, QStringLiteral("Gravando na tabela !"));
  EXPECT_EQ(codesOf(workoutOfDay(db_, kAna, QStringLiteral("A"), today)),
            (QStringList{"003", "001"}));

  // The same exercises saved again are simply renumbered.
  scratch[0].code = QStringLiteral("003");
  scratch[0].novaOrdem = 2;
  scratch[1].novaOrdem = 1;
  ASSERT_TRUE(writeNewOrder(db_, kAna, QStringLiteral("A"), today, scratch, std::nullopt));
  EXPECT_EQ(codesOf(workoutOfDay(db_, kAna, QStringLiteral("A"), today)),
            (QStringList{"001", "003"}));
}

TEST_P(SeriesStore, ThePickingListHoldsStrengthExercisesByNameAndGroup) {
  exercise("001", "SUPINO RETO", "N", "01");
  exercise("002", "ESTEIRA", "S", "01");
  exercise("003", "ROSCA DIRETA", "N", "02");
  exercise("004", "CRUCIFIXO", "N", "01", "012");
  const auto picking = [&](const std::optional<QString>& group) {
    std::unique_ptr<PagedTableModel> model(
        pickingModel(db_, connection_->dialect(), group, nullptr));
    EXPECT_TRUE(model->refresh());
    return model;
  };
  const auto all = picking(std::nullopt);
  QStringList names;
  for (int row = 0; row < all->rowCount(); ++row) names << all->data(all->index(row, 0)).toString();
  EXPECT_EQ(names, (QStringList{"CRUCIFIXO", "ROSCA DIRETA", "SUPINO RETO"}));
  EXPECT_EQ(all->record(0).value(QStringLiteral("Aparelho")).toString(), QStringLiteral("012"));
  EXPECT_EQ(picking(QStringLiteral("02"))->rowCount(), 1);
  EXPECT_EQ(picking(QStringLiteral("' OR ''='"))->rowCount(), 0);
  EXPECT_EQ(all->rowAtOrAfter(QStringLiteral("ROS"), true), 1);
  EXPECT_EQ(all->rowAtOrAfter(QStringLiteral("X"), true), -1);

  runSql(db_, QStringLiteral("INSERT INTO GrupamentoMuscular (CODIGO, DESCRICAO) VALUES "
                             "('02', 'BICEPS'), ('01', 'PEITORAL')"));
  EXPECT_EQ(muscleGroupEntries(db_), (QStringList{"01 - PEITORAL", "02 - BICEPS"}));
}

INSTANTIATE_TEST_SUITE_P(Providers, SeriesStore, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
