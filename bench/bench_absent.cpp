// The main window's absent-member test, run every second while nobody is found: with 1,000,000
// entrances in the log, one tick must cost under 2 ms. Each round is a new day (another number
// of days back, so the engine meets a new question): its first tick reads the day's visitors,
// the twenty ticks after it ask only about the visitors not seen since, nobody being away
// exactly that long, as on most ticks. Paired with the engine running the whole question by
// hand, prepared once, in the same run.
#include <QElapsedTimer>
#include <QSqlQuery>

#include "bench_support.h"
#include "followup/absent_members.h"
#include "forms/session.h"

namespace {

constexpr int kMembers = 20000;
constexpr int kEntrances = 1000000;

QString number(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

// A gym whose members came in over the last two years, fifty times each on average, and all of
// them during the last week.
class BusyGym {
 public:
  explicit BusyGym(Provider provider) : installation_(provider, false) {
    session_.connect();
    const QSqlDatabase db = session_.management().database();
    Transaction transaction(db);
    const QDateTime now = QDateTime::currentDateTime();
    if (provider == Provider::PostgreSQL) {
      runSql(db,
             QStringLiteral("INSERT INTO ALUNOS (MATRICULA, NOME, EMAIL, BOLSISTA) SELECT "
                            "lpad(i::text, 10, '0'), 'ALUNO ' || i, 'a' || i || '@x.com', "
                            "false FROM generate_series(1, ?) AS i"),
             {kMembers});
      runSql(db,
             QStringLiteral("INSERT INTO ACESSO (MATRICULA, DATA) SELECT lpad((i % ? + 1)::text, "
                            "10, '0'), ?::timestamp - ((i % 730) || ' days')::interval - "
                            "((i % 7) || ' days')::interval FROM generate_series(1, ?) AS i"),
             {kMembers, now.addDays(-1), kEntrances - kMembers});
      runSql(db,
             QStringLiteral("INSERT INTO ACESSO (MATRICULA, DATA) SELECT lpad(i::text, 10, "
                            "'0'), ?::timestamp - ((i % 7) || ' days')::interval FROM "
                            "generate_series(1, ?) AS i"),
             {now, kMembers});
    } else {
      QSqlQuery member(db);
      member.prepare(QStringLiteral(
          "INSERT INTO ALUNOS (MATRICULA, NOME, EMAIL, BOLSISTA) VALUES (?, ?, ?, 0)"));
      for (int i = 1; i <= kMembers; ++i) {
        member.addBindValue(number(i));
        member.addBindValue(QStringLiteral("ALUNO %1").arg(i));
        member.addBindValue(QStringLiteral("a%1@x.com").arg(i));
        member.exec();
      }
      QSqlQuery entrance(db);
      entrance.prepare(QStringLiteral("INSERT INTO ACESSO (MATRICULA, DATA) VALUES (?, ?)"));
      for (int i = 1; i <= kEntrances - kMembers; ++i) {
        entrance.addBindValue(number(i % kMembers + 1));
        entrance.addBindValue(now.addDays(-1 - i % 730 - i % 7));
        entrance.exec();
      }
      for (int i = 1; i <= kMembers; ++i) {  // everyone came in during the last week
        entrance.addBindValue(number(i));
        entrance.addBindValue(now.addDays(-(i % 7)));
        entrance.exec();
      }
    }
    transaction.commit();
    runSql(db, QStringLiteral("ANALYZE"));
  }
  ~BusyGym() { session_.disconnect(); }
  Session& session() { return session_; }

 private:
  BenchInstallation installation_;
  Session session_;
};

void BM_AbsentTick(benchmark::State& state) {
  if (skipWithoutPostgres(state)) return;
  BusyGym gym(providerOf(state));
  const QSqlDatabase db = gym.session().management().database();
  const QString members = QStringLiteral("ALUNOS");
  QSqlQuery bare(db);
  bare.prepare(QStringLiteral(
      "SELECT 1 FROM ACESSO B JOIN ALUNOS A ON A.MATRICULA = B.MATRICULA WHERE B.DATA >= ? AND "
      "B.DATA < ? AND A.EMAIL IS NOT NULL AND A.BOLSISTA = ? AND NOT EXISTS (SELECT 1 FROM "
      "ACESSO C WHERE C.MATRICULA = B.MATRICULA AND C.DATA >= ?) LIMIT 1"));
  const QDate today = QDate::currentDate();
  constexpr int kTicksPerDay = 20;
  double firstTotal = 0, firstWorst = 0, tickTotal = 0, tickWorst = 0, bareTotal = 0;
  int days = 30;
  for (auto _ : state) {
    const QDate day = today.addDays(-(++days));
    // The first tick of a day reads that day's visitors ...
    QElapsedTimer timer;
    timer.start();
    const Result<QStringList> visitors = unreturnedVisitors(db, day);
    Result<bool> found =
        visitors ? anyAbsentAmong(db, members, *visitors, day) : Result<bool>(false);
    const double first = timer.nsecsElapsed() / 1e6;
    if (!visitors || !found || *found) state.SkipWithError("the tick should find nobody");
    firstTotal += first;
    firstWorst = std::max(firstWorst, first);
    // ... every later tick of the day asks only about those not back.
    for (int tick = 0; tick < kTicksPerDay; ++tick) {
      timer.restart();
      found = anyAbsentAmong(db, members, *visitors, day);
      const double ms = timer.nsecsElapsed() / 1e6;
      tickTotal += ms;
      tickWorst = std::max(tickWorst, ms);
    }

    timer.restart();
    bare.addBindValue(QDateTime(day, QTime(0, 0)));
    bare.addBindValue(QDateTime(day.addDays(1), QTime(0, 0)));
    bare.addBindValue(false);
    bare.addBindValue(QDateTime(day.addDays(1), QTime(0, 0)));
    bare.exec();
    benchmark::DoNotOptimize(bare.next());
    bare.finish();
    bareTotal += timer.nsecsElapsed() / 1e6;
  }
  const double n = double(state.iterations());
  state.counters["tick_mean_ms"] = tickTotal / (n * kTicksPerDay);
  state.counters["tick_worst_ms"] = tickWorst;
  state.counters["first_tick_mean_ms"] = firstTotal / n;
  state.counters["first_tick_worst_ms"] = firstWorst;
  state.counters["bare_mean_ms"] = bareTotal / n;
  state.counters["ratio_first"] = firstTotal / std::max(bareTotal, 1e-9);
}

BENCHMARK(BM_AbsentTick)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return runBenchmarks(argc, argv);
}
