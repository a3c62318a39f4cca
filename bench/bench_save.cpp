// Saving a member's series as the builder's confirm buttons do: a 20-exercise workout, then
// its aerobic block (two machines of six prescribed), then the stretching choice, on a
// workout database that already holds the history of 2,000 members (five saves each). Every
// round saves for another member, so the rows it reads and replaces are not in memory yet.
// Beside it, in the same run, the engine alone writes the same rows with plain prepared
// inserts in one transaction; the mean and worst save and the ratio are reported.
//
//   bench_save                                 SQLite only
//   VANTREL_TEST_PGHOST=/socket/dir bench_save  SQLite and PostgreSQL
#include "bench_support.h"

#include <QElapsedTimer>

#include "base/globals.h"
#include "forms/session.h"
#include "series/series_save.h"

namespace {

constexpr int kMembers = 2000;
constexpr int kExercises = 20;
const QString kProfessor = QStringLiteral("0000000003");

QString matricula(int i) {
  return QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'));
}

QString code(int i) {
  return QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
}

// The 20 rows of a workout as an instructor fills them in.
QList<WorkoutRow> workoutRows(int round) {
  QList<WorkoutRow> rows;
  for (int i = 1; i <= kExercises; ++i) {
    WorkoutRow row;
    row.code = code(i);
    row.series = QStringLiteral("3");
    row.repeticoes = QStringLiteral("12");
    row.peso = QStringLiteral("%1 KG").arg(10 + (round + i) % 30);
    row.regulagem = QStringLiteral("FURO %1").arg(i % 7);
    row.intervalo = 60;
    row.obs = i % 4 == 0 ? QStringLiteral("CADENCIA LENTA") : QString();
    row.ordem = qint16(i);
    rows << row;
  }
  return rows;
}

WeekdayBoxes mondayWednesdayFriday() {
  WeekdayBoxes boxes = freshWeekdays();
  for (int d : {1, 3, 5}) boxes[d].checked = true;
  return boxes;
}

// A gym with a catalogue of 20 strength and 6 aerobic exercises and, for every member, five
// earlier saves of workout A, of the aerobic block and of the stretching.
class GymWithHistory {
 public:
  explicit GymWithHistory(Provider provider) : installation_(provider, false) {
    session_.connect();
    const QSqlDatabase db = session_.workoutDatabase();
    Transaction transaction(db);
    for (int i = 1; i <= kExercises + 6; ++i)
      runSql(db,
             QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao, Tipo, Aparelho) VALUES "
                            "(?, ?, ?, '001')"),
             {code(i), QStringLiteral("EXERCICIO %1").arg(i),
              i > kExercises ? QStringLiteral("S") : QStringLiteral("N")});
    QSqlQuery treino(db);
    treino.prepare(
        QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, "
                       "Series, Repeticoes, Data, Ordem, Seg) VALUES (?, 'A', ?, '3', "
                       "'12', ?, ?, ?)"));
    QSqlQuery aerobica(db);
    aerobica.prepare(
        QStringLiteral("INSERT INTO Aerobica (Matricula, Codigo_exercicio, Data, "
                       "Duracao, Seg) VALUES (?, ?, ?, 20, ?)"));
    QSqlQuery alongamento(db);
    alongamento.prepare(
        QStringLiteral("INSERT INTO Alongamento (Matricula, Treino, Data, Obs, "
                       "Alogamento_01) VALUES (?, 'A', ?, 'OBS', ?)"));
    const QDate start = QDate::currentDate().addMonths(-15);
    for (int m = 1; m <= kMembers; ++m) {
      for (int save = 0; save < 5; ++save) {
        const QDate day = start.addDays(save * 90 + m % 60);
        for (int e = 1; e <= 12; ++e) {
          for (const QVariant& v : QVariantList{matricula(m), code(e), day, e, true})
            treino.addBindValue(v);
          treino.exec();
        }
        for (const QVariant& v : QVariantList{matricula(m), code(kExercises + 1), day, true})
          aerobica.addBindValue(v);
        aerobica.exec();
        for (const QVariant& v : QVariantList{matricula(m), day, true}) alongamento.addBindValue(v);
        alongamento.exec();
      }
    }
    transaction.commit();
    runSql(db, QStringLiteral("ANALYZE"));
  }
  ~GymWithHistory() { session_.disconnect(); }
  Session& session() { return session_; }

 private:
  BenchInstallation installation_;
  Session session_;
};

// The builder's three confirmations for one member.
void saveSeries(const QSqlDatabase& db, const QString& member, int round) {
  WorkoutSave save;
  save.matricula = member;
  save.letter = QStringLiteral("A");
  save.professor = kProfessor;
  save.usuario = QStringLiteral("01");
  save.moment = QDateTime::currentDateTime();
  save.changeDate = save.moment.date().addMonths(3);
  save.boxes = mondayWednesdayFriday();
  save.rows = workoutRows(round);
  if (saveWorkout(db, save) != kExercises) throw SqlError(QStringLiteral("treino não gravado"));

  QList<AerobicRow> aerobic = aerobicCatalogue(db);
  loadCurrentAerobic(db, member, aerobic);
  aerobic[0].duracao = 20;
  aerobic[1].velocidade = 6.5;
  aerobic[1].duracao = 15;
  if (!saveAerobic(db, member, kProfessor, save.moment.date(), chosenDays(save.boxes), aerobic))
    throw SqlError(QStringLiteral("aeróbica não gravada"));

  StretchChoice choice;
  if (const auto current = currentStretching(db, member, save.letter)) choice = current->first;
  choice.stretches[round % kStretchColumns] = true;
  choice.obs = QStringLiteral("MANTER POR 20 SEGUNDOS");
  if (!saveStretching(db, member, save.letter, save.moment.date(), choice))
    throw SqlError(QStringLiteral("alongamento não gravado"));
}

// The same rows written by the engine alone: 20 workout rows, the assembly, two aerobic rows
// and a stretching row, plain prepared inserts in one transaction.
void bareInserts(const QSqlDatabase& db, const QString& member, int round) {
  const QDate today = QDate::currentDate();
  Transaction transaction(db);
  QSqlQuery treino(db);
  treino.prepare(
      QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, "
                     "Repeticoes, Series, Peso, Intervalo, Obs, Professor, Data, "
                     "Data_Reavaliacao, Ordem, REGULAGEM, Dom, Seg, Ter, Qua, Qui, "
                     "Sex, Sab) VALUES (?, 'B', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                     "?, ?, ?, ?, ?)"));
  for (const WorkoutRow& row : workoutRows(round)) {
    const QVariantList values{
        member,        row.code,      row.repeticoes, row.series, row.peso,
        row.intervalo, row.obs,       kProfessor,     today,      today.addMonths(3),
        row.ordem,     row.regulagem, false,          true,       false,
        true,          false,         true,           false};
    for (const QVariant& v : values) treino.addBindValue(v);
    treino.exec();
  }
  runSql(db,
         QStringLiteral("INSERT INTO Agendado (USUARIO, HORA, MATRICULA, AVALIADOR, DATA, TREINO, "
                        "DATA_FEITA) VALUES ('01', '10:00', ?, ?, ?, 'B', ?)"),
         {member, kProfessor, today, today});
  QSqlQuery aerobica(db);
  aerobica.prepare(
      QStringLiteral("INSERT INTO Aerobica (Matricula, Codigo_exercicio, Data, "
                     "Duracao, Velocidade, Nivel_dificuldade, Professor, Seg) VALUES "
                     "(?, ?, ?, ?, ?, 0, ?, ?)"));
  for (int i = 0; i < 2; ++i) {
    for (const QVariant& v :
         QVariantList{member, code(kExercises + 1 + i), today, 15, 6.5, kProfessor, true})
      aerobica.addBindValue(v);
    aerobica.exec();
  }
  runSql(db,
         QStringLiteral("INSERT INTO Alongamento (Matricula, Treino, Data, Obs, Alogamento_01) "
                        "VALUES (?, 'B', ?, 'MANTER POR 20 SEGUNDOS', ?)"),
         {member, today, true});
  transaction.commit();
}

void BM_SaveSeries(benchmark::State& state) {
  if (skipWithoutPostgres(state)) return;
  GymWithHistory gym(providerOf(state));
  const QSqlDatabase db = gym.session().workout().database();
  double total = 0;
  double worst = 0;
  double bare = 0;
  int round = 0;
  for (auto _ : state) {
    const QString member = matricula(1 + (round * 37) % kMembers);
    QElapsedTimer timer;
    timer.start();
    saveSeries(db, member, round);
    const double ms = timer.nsecsElapsed() / 1e6;
    total += ms;
    worst = std::max(worst, ms);
    state.PauseTiming();
    timer.restart();
    bareInserts(db, member, round);
    bare += timer.nsecsElapsed() / 1e6;
    state.ResumeTiming();
    ++round;
  }
  const double mean = total / std::max(1, round);
  const double bareMean = bare / std::max(1, round);
  state.counters["save_mean_ms"] = mean;
  state.counters["save_worst_ms"] = worst;
  state.counters["bare_mean_ms"] = bareMean;
  state.counters["ratio"] = bareMean > 0 ? mean / bareMean : 0;
}

}  // namespace

BENCHMARK(BM_SaveSeries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200);

int main(int argc, char** argv) {
  return runBenchmarks(argc, argv);
}
