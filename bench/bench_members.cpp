// The member window on 100,000 and 1,000,000 members: how long it takes to open (tables,
// grid, first photo) and how long each keystroke of a fresh search takes, by number and by
// name, on SQLite and PostgreSQL (after ANALYZE). Every round types a new name or number into
// a newly opened window, so the pages it lands on have not been read; the mean and the worst
// keystroke are reported, beside a bare keyset page read of the same rows by the engine, and
// the resident memory.
//
//   bench_members                                 SQLite only
//   VANTREL_TEST_PGHOST=/socket/dir bench_members  SQLite and PostgreSQL
#include "bench_support.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QTest>

#include "base/globals.h"
#include "data/paged_table_model.h"
#include "forms/session.h"
#include "registry/member_window.h"

namespace {

const QStringList kFirst =
    QStringLiteral("ANA BRUNO CARLA DANIEL ELISA FABIO GISELE HUGO IARA JOAO")
        .split(QLatin1Char(' '));
const QStringList kLast = QStringLiteral("SILVA SOUZA COSTA LIMA ROCHA ALVES DIAS NUNES PINTO MOTA")
                              .split(QLatin1Char(' '));

QString memberName(int i) {
  return QStringLiteral("%1 %2 %3").arg(kFirst[i % 10], kLast[(i / 10) % 10]).arg(i);
}

// An installation whose workout database holds `members` members, filled in one transaction
// (PostgreSQL builds the rows itself), then analysed as a server in use would be.
class BigGym {
 public:
  BigGym(Provider provider, int members) : installation_(provider, false), members_(members) {
    session_.connect();
    const QSqlDatabase db = session_.workoutDatabase();
    Transaction transaction(db);
    if (provider == Provider::PostgreSQL) {
      runSql(db,
             QStringLiteral(
                 "INSERT INTO Alunos (MATRICULA, NOME, CIDADE, ESTADO, DATA_CADASTRADO) "
                 "SELECT lpad(i::text, 10, '0'), "
                 "(ARRAY['ANA','BRUNO','CARLA','DANIEL','ELISA','FABIO','GISELE','HUGO','IARA',"
                 "'JOAO'])[i % 10 + 1] || ' ' || "
                 "(ARRAY['SILVA','SOUZA','COSTA','LIMA','ROCHA','ALVES','DIAS','NUNES','PINTO',"
                 "'MOTA'])[(i / 10) % 10 + 1] || ' ' || i, "
                 "'RIO DE JANEIRO', 'RJ', DATE '2020-01-01' + (i % 1500) "
                 "FROM generate_series(1, ?) AS i"),
             {members});
    } else {
      QSqlQuery insert(db);
      insert.prepare(
          QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, CIDADE, ESTADO, DATA_CADASTRADO) "
                         "VALUES (?, ?, ?, ?, ?)"));
      const QString city = QStringLiteral("RIO DE JANEIRO");
      const QString state = QStringLiteral("RJ");
      for (int i = 1; i <= members; ++i) {
        insert.addBindValue(QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')));
        insert.addBindValue(memberName(i));
        insert.addBindValue(city);
        insert.addBindValue(state);
        insert.addBindValue(QDate(2020, 1, 1).addDays(i % 1500));
        insert.exec();
      }
    }
    transaction.commit();
    runSql(db, QStringLiteral("ANALYZE"));
    session_.setUser(kMasterUserCode);
  }
  ~BigGym() { session_.disconnect(); }
  int members() const { return members_; }
  Session& session() { return session_; }

 private:
  BenchInstallation installation_;
  int members_;
  Session session_;
};

int membersOf(const benchmark::State& state) {
  return int(state.range(1));
}

void BM_OpenMemberWindow(benchmark::State& state) {
  if (skipWithoutPostgres(state)) return;
  BigGym gym(providerOf(state), membersOf(state));
  for (auto _ : state) {
    auto* window = new TFRMALUNOS(gym.session());
    window->show();
    QCoreApplication::processEvents();
    G().GINT_JANELAS_ABERTAS = 1;
    window->close();
    QCoreApplication::processEvents();
  }
  state.counters["rss_MB"] = residentMegabytes();
}

// What the engine alone needs for the same landing: the first row at or after the typed text
// and a page read by key from it.
double bareLanding(const QSqlDatabase& db, const QString& column, const QString& typed) {
  QElapsedTimer timer;
  timer.start();
  QSqlQuery first =
      runSql(db,
             QStringLiteral("SELECT %1, MATRICULA FROM Alunos WHERE %1 >= ? ORDER BY %1, MATRICULA "
                            "LIMIT 1")
                 .arg(column),
             {typed});
  if (first.next()) {
    QSqlQuery page = runSql(db,
                            QStringLiteral("SELECT * FROM Alunos WHERE (%1, MATRICULA) >= (?, ?) "
                                           "ORDER BY %1, MATRICULA LIMIT 200")
                                .arg(column),
                            {first.value(0), first.value(1)});
    while (page.next()) {
    }
  }
  return timer.nsecsElapsed() / 1e6;
}

// Each round opens the window, searches for a member chosen at random (so the pages are new)
// and types the name or the number key by key; after every key the grid is painted and the
// event loop turns once, painting what else changed.
void searchKeystrokes(benchmark::State& state, bool byName) {
  if (skipWithoutPostgres(state)) return;
  BigGym gym(providerOf(state), membersOf(state));
  const QSqlDatabase db = gym.session().workout().database();
  QRandomGenerator random(42);
  double worst = 0;
  double total = 0;
  double landing = 0;   // the key handled: the search, the row found, the form filled
  double painting = 0;  // the grid and what else changed painted
  double gridPainting = 0;
  double bare = 0;
  qint64 keys = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto* window = new TFRMALUNOS(gym.session());
    window->show();
    QCoreApplication::processEvents();
    window->findChild<QPushButton*>(QStringLiteral("SBPROCURA"))->click();
    if (!byName) window->findChild<QPushButton*>(QStringLiteral("PNLMATRICULA"))->click();
    QLineEdit* text = window->findChild<QLineEdit*>(QStringLiteral("EDTMATRICULA"));
    QTableView* grid = window->findChild<QTableView*>();
    const int member = 1 + random.bounded(gym.members());
    const QString typed = byName ? memberName(member) : QString::number(member);
    state.ResumeTiming();
    for (const QChar key : typed) {
      QElapsedTimer timer;
      timer.start();
      QTest::keyClick(text, key.toLatin1());
      const double landed = timer.nsecsElapsed() / 1e6;
      grid->viewport()->repaint();  // the grid reads the rows it shows
      const double gridPainted = timer.nsecsElapsed() / 1e6;
      // Then the event loop turns once, as after any key: what changed is painted (the typed
      // text, the fields of the member it landed on), the rest of the window is left alone.
      QCoreApplication::processEvents();
      const double ms = timer.nsecsElapsed() / 1e6;
      landing += landed;
      gridPainting += gridPainted - landed;
      painting += ms - landed;
      worst = qMax(worst, ms);
      total += ms;
      ++keys;
    }
    state.PauseTiming();
    bare += bareLanding(db, byName ? QStringLiteral("NOME") : QStringLiteral("MATRICULA"),
                        byName ? typed : typed.rightJustified(10, QLatin1Char('0')));
    G().GINT_JANELAS_ABERTAS = 1;
    window->close();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["key_mean_ms"] = total / qMax<qint64>(1, keys);
  state.counters["key_handled_ms"] = landing / qMax<qint64>(1, keys);
  state.counters["key_painted_ms"] = painting / qMax<qint64>(1, keys);
  state.counters["key_grid_painted_ms"] = gridPainting / qMax<qint64>(1, keys);
  state.counters["key_worst_ms"] = worst;
  state.counters["bare_landing_ms"] = bare / double(state.iterations());
  state.counters["rss_MB"] = residentMegabytes();
}

void BM_SearchKeystrokesByNumber(benchmark::State& state) {
  searchKeystrokes(state, false);
}
void BM_SearchKeystrokesByName(benchmark::State& state) {
  searchKeystrokes(state, true);
}

// The grid's model alone on a fresh search by number: the landing and the rows a grid shows,
// beside the engine's bare landing of the same key.
void BM_GridLanding(benchmark::State& state) {
  if (skipWithoutPostgres(state)) return;
  BigGym gym(providerOf(state), membersOf(state));
  const QSqlDatabase db = gym.session().workout().database();
  PagedTableModel model(db, gym.session().workout().dialect(), QStringLiteral("Alunos"),
                        {{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")},
                         {QStringLiteral("NOME"), QStringLiteral("Nome")}},
                        {QStringLiteral("MATRICULA")});
  model.setOrder({QStringLiteral("MATRICULA")});
  model.refresh();
  QRandomGenerator random(7);
  double bare = 0;
  double program = 0;
  for (auto _ : state) {
    const QString typed =
        QStringLiteral("%1").arg(1 + random.bounded(gym.members()), 10, 10, QLatin1Char('0'));
    QElapsedTimer timer;
    timer.start();
    const int row = model.rowAtOrAfter(typed, true);
    for (int r = row; r < row + 20; ++r)
      for (int c = 0; c < 2; ++c) benchmark::DoNotOptimize(model.data(model.index(r, c)));
    program += timer.nsecsElapsed() / 1e6;
    state.PauseTiming();
    bare += bareLanding(db, QStringLiteral("MATRICULA"), typed);
    state.ResumeTiming();
  }
  state.counters["landing_ms"] = program / double(state.iterations());
  state.counters["bare_landing_ms"] = bare / double(state.iterations());
  state.counters["ratio"] = program / qMax(1e-9, bare);
}

// Painting the member grid alone, its rows already in memory: the floor under every keystroke.
void BM_GridRepaint(benchmark::State& state) {
  BigGym gym(Provider::SQLite, 10000);
  auto* window = new TFRMALUNOS(gym.session());
  window->show();
  QCoreApplication::processEvents();
  QTableView* grid = window->findChild<QTableView*>();
  for (auto _ : state) grid->viewport()->repaint();
  state.counters["rows_shown"] = grid->rowAt(grid->viewport()->height() - 1) - grid->rowAt(0) + 1;
  G().GINT_JANELAS_ABERTAS = 1;
  window->close();
  QCoreApplication::processEvents();
}
BENCHMARK(BM_GridRepaint)->Unit(benchmark::kMillisecond)->Iterations(2000);

void sizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"postgres", "members"});
  for (int provider : {0, 1})
    for (int members : {100000, 1000000}) b->Args({provider, members});
}

BENCHMARK(BM_GridLanding)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(200);
// Opening must cost the same on any size of table: 10,000 members is the yardstick.
void openSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"postgres", "members"});
  for (int provider : {0, 1})
    for (int members : {10000, 100000, 1000000}) b->Args({provider, members});
}

BENCHMARK(BM_OpenMemberWindow)->Apply(openSizes)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SearchKeystrokesByNumber)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchKeystrokesByName)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  return runBenchmarks(argc, argv);
}
