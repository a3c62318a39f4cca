// Saving the blocks of a series on each provider: what a day's saves leave behind, the
// booked assemblies, and a failing write that must leave the stored series as it was.
#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "data/schema.h"
#include "data/sql.h"
#include "series/aerobic_model.h"
#include "series/series_save.h"
#include "series/series_store.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QString kAna = QStringLiteral("0000000012");
const QString kA = QStringLiteral("A");
const QDate kToday(2026, 3, 4);  // a Wednesday
const QDate kYesterday = kToday.addDays(-1);

WorkoutRow row(const QString& code, const char* series, const char* repeticoes = "",
               const char* peso = "", qint16 intervalo = 0, const char* obs = "") {
  WorkoutRow r;
  r.code = code;
  r.series = QString::fromLatin1(series);
  r.repeticoes = QString::fromLatin1(repeticoes);
  r.peso = QString::fromLatin1(peso);
  r.intervalo = intervalo;
  r.obs = QString::fromLatin1(obs);
  return r;
}

// Monday and Wednesday ticked; Monday locked by another workout.
WeekdayBoxes mondayLocked() {
  WeekdayBoxes boxes = freshWeekdays();
  boxes[1] = {true, false};
  boxes[2] = {true, true};
  return boxes;
}

class SeriesSave : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    QList<TableDef> tables;
    for (const char* name : {"Treino", "Agendado", "Aerobica", "Alongamento", "Exercicios"})
      tables << *findTable(Database::Workout, QString::fromLatin1(name));
    const SchemaReport report = createMissingTables(db_, connection_->dialect(), tables);
    ASSERT_TRUE(report.ok()) << report.error.toStdString();
  }

  WorkoutSave save(const QDate& day, QList<WorkoutRow> rows,
                   const WeekdayBoxes& boxes = mondayLocked()) {
    WorkoutSave s;
    s.matricula = kAna;
    s.letter = kA;
    s.professor = QStringLiteral("0000000003");
    s.usuario = QStringLiteral("02");
    s.moment = QDateTime(day, QTime(14, 5, 30));
    s.changeDate = day.addMonths(3);
    s.boxes = boxes;
    s.rows = std::move(rows);
    return s;
  }

  QStringList codes(const QList<WorkoutRow>& rows) {
    QStringList list;
    for (const WorkoutRow& r : rows) list << r.code + QLatin1Char('@') + QString::number(r.ordem);
    return list;
  }

  int count(const QString& sql, const QVariantList& values = {}) {
    return scalarSql(db_, sql, values).toInt();
  }

  void failWritesOf(const QString& table, const QString& when = QStringLiteral("1 = 1")) {
    ::failWritesOf(db_, GetParam(), table, when);
  }

  void expectOneMessage(const char* detail) {
    ASSERT_EQ(testPrompter().messages().size(), 1);
    EXPECT_EQ(testPrompter().messages()[0].text, QStringLiteral("Gravando na tabela !"));
    EXPECT_EQ(testPrompter().messages()[0].detail, QString::fromLatin1(detail));
    testPrompter().clear();
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(SeriesSave, ASecondSaveOfTheDayReplacesTheFirstWithoutEmptyRowsOrGaps) {
  ASSERT_EQ(saveWorkout(db_, save(kToday, {row("001", "3"), row("002", "3"), row("003", "3")})), 3);
  const QList<WorkoutRow> second = {row("004", "4", "12"), row("005", ""),  // nothing filled
                                    row("006", "", "", "", 60), row("007", "", "", "", 0, "LENTO"),
                                    row("008", " ")};
  ASSERT_EQ(saveWorkout(db_, save(kToday, second)), 3);
  const QList<WorkoutRow> current = currentWorkout(db_, kAna, kA);
  EXPECT_EQ(codes(current), (QStringList{"004@1", "006@2", "007@3"}));
  EXPECT_EQ(current[0].repeticoes, QStringLiteral("12"));
  // Monday is another workout's: stored false although ticked.
  EXPECT_EQ(current[0].days, (WeekdayFlags{false, false, true, false, false, false, false}));
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT Data_Reavaliacao FROM Treino WHERE "
                                          "Codigo_exercicio = '004'"))
                .toDate(),
            kToday.addMonths(3));
  EXPECT_EQ(scalarSql(db_, QStringLiteral("SELECT Professor FROM Treino WHERE "
                                          "Codigo_exercicio = '004'"))
                .toString(),
            QStringLiteral("0000000003"));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_P(SeriesSave, AnEmptyWorkoutRemovesTodaysRowsAndThePreviousSaveIsCurrentAgain) {
  ASSERT_EQ(saveWorkout(db_, save(kYesterday, {row("001", "3"), row("002", "3")})), 2);
  ASSERT_EQ(saveWorkout(db_, save(kToday, {row("009", "3")})), 1);
  ASSERT_EQ(saveWorkout(db_, save(kToday, {})), 0);
  EXPECT_EQ(codes(currentWorkout(db_, kAna, kA)), (QStringList{"001@1", "002@2"}));
  // Rows with nothing filled store nothing either, but they do count as a workout assembled.
  ASSERT_EQ(saveWorkout(db_, save(kToday, {row("003", "")})), 0);
  EXPECT_EQ(codes(currentWorkout(db_, kAna, kA)), (QStringList{"001@1", "002@2"}));
}

TEST_P(SeriesSave, TheSaveMarksTheFirstPendingAssemblyOrBooksOneDoneToday) {
  const QVariant notDone(QMetaType(QMetaType::QDate));
  const struct Case {
    const char* name;
    QList<std::pair<QDate, QVariant>> booked;  // DATA, DATA_FEITA
    QList<QVariant> doneAfter;                 // DATA_FEITA of the booked rows, in date order
    int added;
  } cases[] = {
      {"pending", {{kYesterday, notDone}}, {kToday}, 0},
      {"first of two pending",
       {{kToday.addDays(3), notDone}, {kYesterday, notDone}},
       {kToday, notDone},
       0},
      {"none pending", {{kToday.addDays(-9), kToday.addDays(-9)}}, {kToday.addDays(-9)}, 1},
      {"done today already", {{kToday, kToday}}, {kToday}, 0},
      {"none at all", {}, {}, 1},
  };
  for (const Case& c : cases) {
    runSql(db_, QStringLiteral("DELETE FROM Agendado"));
    for (const auto& [data, feita] : c.booked)
      runSql(db_,
             QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA, HORA, DATA_FEITA) "
                            "VALUES (?, 'A', ?, '08:00', ?)"),
             {kAna, data, feita});
    // Another letter's and another member's bookings are not this save's.
    runSql(db_, QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA) VALUES (?, 'B', ?)"),
           {kAna, kYesterday});
    runSql(db_,
           QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA) VALUES "
                          "('0000000077', 'A', ?)"),
           {kYesterday});
    ASSERT_EQ(saveWorkout(db_, save(kToday, {row("001", "3")})), 1) << c.name;
    QSqlQuery rows = runSql(db_,
                            QStringLiteral("SELECT DATA_FEITA FROM Agendado WHERE MATRICULA "
                                           "= ? AND TREINO = 'A' AND HORA = '08:00' ORDER "
                                           "BY DATA"),
                            {kAna});
    QList<QVariant> done;
    while (rows.next())
      done << (rows.value(0).isNull() ? notDone : QVariant(rows.value(0).toDate()));
    EXPECT_EQ(done, c.doneAfter) << c.name;
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Agendado WHERE MATRICULA = ? AND "
                                   "TREINO = 'A' AND DATA = ? AND DATA_FEITA = ? AND HORA = "
                                   "'14:05' AND USUARIO = '02' AND AVALIADOR = '0000000003'"),
                    {kAna, kToday, kToday}),
              c.added)
        << c.name;
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Agendado WHERE DATA_FEITA IS NULL AND "
                                   "(TREINO = 'B' OR MATRICULA = '0000000077')")),
              2)
        << c.name;
  }
  // An empty workout assembled nothing: no booking is touched.
  runSql(db_, QStringLiteral("DELETE FROM Agendado"));
  runSql(db_, QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA) VALUES (?, 'A', ?)"),
         {kAna, kYesterday});
  ASSERT_EQ(saveWorkout(db_, save(kToday, {})), 0);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Agendado WHERE DATA_FEITA IS NULL")), 1);
}

TEST_P(SeriesSave, AFailingWriteLeavesTheStoredSeriesAsItWasAndNamesTheTable) {
  ASSERT_EQ(saveWorkout(db_, save(kToday, {row("001", "3"), row("002", "3")})), 2);
  const QStringList before = codes(currentWorkout(db_, kAna, kA));

  // The change date cannot be read as a date.
  WorkoutSave badDate = save(kToday, {row("003", "4")});
  badDate.changeDate = QDate();
  EXPECT_FALSE(saveWorkout(db_, badDate).okOrTell());
  expectOneMessage("Treino");
  EXPECT_EQ(codes(currentWorkout(db_, kAna, kA)), before);

  // The last row fails to be written, after the others were.
  failWritesOf(QStringLiteral("Treino"), QStringLiteral("NEW.Codigo_exercicio = '999'"));
  EXPECT_FALSE(saveWorkout(db_, save(kToday, {row("003", "4"), row("999", "4")})).okOrTell());
  expectOneMessage("Treino");
  EXPECT_EQ(codes(currentWorkout(db_, kAna, kA)), before);

  runSql(db_, QStringLiteral("DELETE FROM Agendado"));
  runSql(db_, QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA) VALUES (?, 'A', ?)"),
         {kAna, kYesterday});
  failWritesOf(QStringLiteral("Agendado"));
  EXPECT_FALSE(saveWorkout(db_, save(kToday, {row("003", "4")})).okOrTell());
  expectOneMessage("Agendado");
  EXPECT_EQ(codes(currentWorkout(db_, kAna, kA)), before);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Agendado WHERE DATA_FEITA IS NULL")), 1);
}

TEST_P(SeriesSave, TwoWorkstationsSavingTheSameWorkoutAtOnceLeaveOneWholeWorkout) {
  std::latch start(2);
  auto workstation = [&](int number) {
    std::unique_ptr<Connection> own = database_.connect(QStringLiteral("estacao%1").arg(number));
    start.arrive_and_wait();
    for (int i = 0; i < 15; ++i) {
      QList<WorkoutRow> rows;
      for (int r = 0; r < 4; ++r)
        rows << row(QStringLiteral("%1%2").arg(number).arg(r, 2, 10, QLatin1Char('0')), "3");
      EXPECT_TRUE(saveWorkout(own->database(), save(kToday, rows)));
    }
  };
  std::thread first(workstation, 1);
  std::thread second(workstation, 2);
  first.join();
  second.join();
  const QList<WorkoutRow> current = currentWorkout(db_, kAna, kA);
  ASSERT_EQ(current.size(), 4);
  for (const WorkoutRow& r : current) EXPECT_EQ(r.code.left(1), current[0].code.left(1));
}

TEST_P(SeriesSave, TheAerobicBlockIsEditedTheSameDayAndFallsBackWhenAllIsZero) {
  const auto exercise = [&](const char* code, const char* name, const char* tipo) {
    runSql(db_,
           QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Aparelho) "
                          "VALUES (?, ?, ?, '010')"),
           {code, name, tipo});
  };
  exercise("101", "ESTEIRA", "S");
  exercise("102", "BICICLETA", "S");
  exercise("001", "SUPINO", "N");
  const QString professor = QStringLiteral("0000000003");
  const WeekdayFlags monday{false, true, false, false, false, false, false};
  const WeekdayFlags friday{false, false, false, false, false, true, false};

  QList<AerobicRow> rows = aerobicCatalogue(db_);
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0].descricao, QStringLiteral("BICICLETA"));
  EXPECT_FALSE(loadCurrentAerobic(db_, kAna, rows));
  rows[0].duracao = 20;
  rows[1].velocidade = 6.5;
  ASSERT_TRUE(saveAerobic(db_, kAna, professor, kYesterday, monday, rows));

  // Today: the bicycle changes twice, the treadmill is left at zero.
  rows = aerobicCatalogue(db_);
  EXPECT_EQ(loadCurrentAerobic(db_, kAna, rows), monday);
  EXPECT_EQ(rows[0].duracao, 20);
  EXPECT_DOUBLE_EQ(rows[1].velocidade, 6.5);
  rows[0].duracao = 25;
  ASSERT_TRUE(saveAerobic(db_, kAna, professor, kToday, friday, rows));
  rows[0].duracao = 30;
  rows[0].nivel = 2.5;
  rows[1] = AerobicRow{rows[1].code, rows[1].descricao, rows[1].aparelho};
  ASSERT_TRUE(saveAerobic(db_, kAna, professor, kToday, friday, rows));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Aerobica WHERE Data = ?"), {kToday}), 1);
  QList<AerobicRow> reread = aerobicCatalogue(db_);
  EXPECT_EQ(loadCurrentAerobic(db_, kAna, reread), friday);
  EXPECT_EQ(reread[0].duracao, 30);
  EXPECT_DOUBLE_EQ(reread[0].nivel, 2.5);
  EXPECT_FALSE(reread[1].prescribed());

  // All at zero: today's rows go and yesterday's block is current again.
  for (AerobicRow& r : rows) r = AerobicRow{r.code, r.descricao, r.aparelho};
  ASSERT_TRUE(saveAerobic(db_, kAna, professor, kToday, friday, rows));
  reread = aerobicCatalogue(db_);
  EXPECT_EQ(loadCurrentAerobic(db_, kAna, reread), monday);
  EXPECT_EQ(reread[0].duracao, 20);

  // An exercise that stopped being aerobic is skipped when the block is read.
  runSql(db_, QStringLiteral("UPDATE Exercicios SET Tipo = 'N' WHERE Codigo = '101'"));
  reread = aerobicCatalogue(db_);
  ASSERT_EQ(reread.size(), 1);
  EXPECT_EQ(loadCurrentAerobic(db_, kAna, reread), monday);
  EXPECT_EQ(reread[0].duracao, 20);

  failWritesOf(QStringLiteral("Aerobica"));
  rows[0].duracao = 40;
  EXPECT_FALSE(saveAerobic(db_, kAna, professor, kToday, friday, rows).okOrTell());
  expectOneMessage("Aerobica");
}

TEST_P(SeriesSave, TheFirstStretchingSaveOfTheDayAddsARowAndLaterOnesEditIt) {
  const QString b = QStringLiteral("B");
  EXPECT_FALSE(currentStretching(db_, kAna, b));
  StretchChoice choice;
  choice.stretches[0] = true;
  choice.obs = QStringLiteral("SEM IMPACTO");
  ASSERT_TRUE(saveStretching(db_, kAna, b, kYesterday, choice));
  choice.stretches[22] = true;
  ASSERT_TRUE(saveStretching(db_, kAna, b, kToday, choice));
  choice.stretches[0] = false;
  choice.obs = QStringLiteral("LINHA 1\nLINHA 2");
  ASSERT_TRUE(saveStretching(db_, kAna, b, kToday, choice));
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Alongamento")), 2);
  const auto current = currentStretching(db_, kAna, b);
  ASSERT_TRUE(current);
  EXPECT_EQ(current->first, choice);
  EXPECT_EQ(current->second, kToday);
  EXPECT_FALSE(currentStretching(db_, kAna, kA));

  failWritesOf(QStringLiteral("Alongamento"));
  StretchChoice other;
  EXPECT_FALSE(saveStretching(db_, kAna, b, kToday, other).okOrTell());
  expectOneMessage("Alongamento");
  EXPECT_EQ(currentStretching(db_, kAna, b)->first, choice);
}

INSTANTIATE_TEST_SUITE_P(Providers, SeriesSave, testing::ValuesIn(testProviders()),
                         providerTestName);

TEST(StretchMemo, TakesNoKeyOnceItHoldsFiveLines) {
  const struct {
    const char* text;
    bool takes;
  } cases[] = {{"", true},
               {"1\n2\n3\n4", true},
               {"1\n2\n3\n4\n", false},
               {"1\n2\n3\n4\n5", false},
               {"uma linha longa sem quebra", true}};
  for (const auto& c : cases)
    EXPECT_EQ(memoTakesKeys(QString::fromLatin1(c.text)), c.takes) << c.text;
}

TEST(AerobicEntry, ReadsDecimalsTypedWithACommaOrAPoint) {
  const struct {
    const char* typed;
    std::optional<double> value;
  } cases[] = {{"5,5", 5.5},
               {"5.5", 5.5},
               {" 12 ", 12.0},
               {"", 0.0},
               {",5", 0.5},
               {"1.000,5", std::nullopt},
               {"5,5,5", std::nullopt},
               {"abc", std::nullopt},
               {",", std::nullopt}};
  for (const auto& c : cases)
    EXPECT_EQ(readDecimal(QString::fromLatin1(c.typed)), c.value) << c.typed;
  EXPECT_EQ(showDecimal(5.5), QStringLiteral("5,5"));
  EXPECT_EQ(showDecimal(0), QStringLiteral("0"));
}

}  // namespace
