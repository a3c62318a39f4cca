// The member window on 100,000 members: how long it takes to open (tables, grid, first
// photo) and how long one keystroke of the search-as-you-type takes, by number and by name,
// on SQLite and PostgreSQL. The resident memory after the runs is reported as a counter.
//
//   bench_members                                 SQLite only
//   VANTREL_TEST_PGHOST=/socket/dir bench_members  SQLite and PostgreSQL
#include "bench_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "base/globals.h"
#include "data/standing_connections.h"
#include "registry/member_window.h"

namespace {

constexpr int kMembers = 100000;

// An installation whose workout database holds 100,000 members.
class BigGym {
 public:
  explicit BigGym(Provider provider) : installation_(provider, false) {
    connectStandingConnections();
    const QSqlDatabase db = ADOConnectionVantrel().database();
    Transaction transaction(db);
    QSqlQuery insert(db);
    insert.prepare(
        QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, CIDADE, ESTADO, DATA_CADASTRADO) "
                       "VALUES (?, ?, ?, ?, ?)"));
    const QStringList first =
        QStringLiteral("ANA BRUNO CARLA DANIEL ELISA FABIO GISELE HUGO IARA JOAO")
            .split(QLatin1Char(' '));
    const QStringList last =
        QStringLiteral("SILVA SOUZA COSTA LIMA ROCHA ALVES DIAS NUNES PINTO MOTA")
            .split(QLatin1Char(' '));
    for (int i = 1; i <= kMembers; ++i) {
      insert.addBindValue(QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')));
      insert.addBindValue(
          QStringLiteral("%1 %2 %3").arg(first[i % 10], last[(i / 10) % 10]).arg(i));
      insert.addBindValue(QStringLiteral("RIO DE JANEIRO"));
      insert.addBindValue(QStringLiteral("RJ"));
      insert.addBindValue(QDate(2020, 1, 1).addDays(i % 1500));
      insert.exec();
    }
    transaction.commit();
    G().GSTR_USUARIO = kMasterUserCode;
  }
  ~BigGym() { disconnectStandingConnections(); }

 private:
  BenchInstallation installation_;
};

void BM_OpenMemberWindow(benchmark::State& state) {
  if (skipWithoutPostgres(state)) return;
  BigGym gym(providerOf(state));
  for (auto _ : state) {
    auto* window = new TFRMALUNOS;
    window->show();
    QCoreApplication::processEvents();
    G().GINT_JANELAS_ABERTAS = 1;
    window->close();
    QCoreApplication::processEvents();
  }
  state.counters["rss_MB"] = residentMegabytes();
}

void searchKeystrokes(benchmark::State& state, bool byName) {
  if (skipWithoutPostgres(state)) return;
  BigGym gym(providerOf(state));
  auto* window = new TFRMALUNOS;
  window->show();
  QCoreApplication::processEvents();
  window->findChild<QPushButton*>(QStringLiteral("SBPROCURA"))->click();
  if (!byName) window->findChild<QPushButton*>(QStringLiteral("PNLMATRICULA"))->click();
  QLineEdit* text = window->findChild<QLineEdit*>(QStringLiteral("EDTMATRICULA"));
  const QString typed = byName ? QStringLiteral("GISELE NUNES 7") : QStringLiteral("87654");
  int i = 0;
  for (auto _ : state) {
    if (i == typed.size()) {
      text->clear();
      i = 0;
    }
    QTest::keyClick(text, typed[i++].toLatin1());
  }
  state.counters["rss_MB"] = residentMegabytes();
  G().GINT_JANELAS_ABERTAS = 1;
  window->close();
  QCoreApplication::processEvents();
}

void BM_SearchKeystrokeByNumber(benchmark::State& state) {
  searchKeystrokes(state, false);
}
void BM_SearchKeystrokeByName(benchmark::State& state) {
  searchKeystrokes(state, true);
}

BENCHMARK(BM_OpenMemberWindow)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_SearchKeystrokeByNumber)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);
BENCHMARK(BM_SearchKeystrokeByName)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
  return runBenchmarks(argc, argv);
}
