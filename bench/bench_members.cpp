// The member window on 100,000 members: how long it takes to open (tables, grid, first
// photo) and how long one keystroke of the search-as-you-type takes, by number and by name,
// on SQLite and PostgreSQL. The resident memory after the runs is reported as a counter.
//
//   bench_members                                 SQLite only
//   VANTREL_TEST_PGHOST=/socket/dir bench_members  SQLite and PostgreSQL
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include "app/application.h"
#include "app/globals.h"
#include "app/installation.h"
#include "app/prompter.h"
#include "app/standing_connections.h"
#include "data/sql.h"
#include "registry/member_window.h"

namespace {

constexpr int kMembers = 100000;

double residentMegabytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

LinkSpec adminSpec() {
  LinkSpec spec;
  spec.provider = Provider::PostgreSQL;
  spec.dataSource = qEnvironmentVariable("VANTREL_TEST_PGHOST");
  spec.catalog = QStringLiteral("postgres");
  spec.user = QStringLiteral("postgres");
  return spec;
}

// An installation whose workout database holds 100,000 members.
class BigGym {
 public:
  explicit BigGym(Provider provider) {
    qputenv("VANTREL_HOME", dir_.path().toUtf8());
    if (provider == Provider::PostgreSQL) {
      Connection admin(adminSpec(), Connection::uniqueName(QStringLiteral("bench")));
      admin.open();
      for (DataSource source : {DataSource::Vantrel, DataSource::Brisca, DataSource::Tamsel,
                                DataSource::Ondrel}) {
        LinkSpec spec = adminSpec();
        spec.catalog = QStringLiteral("m_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        runSql(admin.database(), QStringLiteral("CREATE DATABASE %1").arg(spec.catalog));
        created_ << spec.catalog;
        writeLinkFile(linkFilePath(source), spec);
      }
    }
    runInit(false);
    connectStandingConnections();
    const QSqlDatabase db = ADOConnectionVantrel().database();
    Transaction transaction(db);
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, CIDADE, ESTADO, DATA_CADASTRADO) "
                                  "VALUES (?, ?, ?, ?, ?)"));
    const QStringList first = QStringLiteral("ANA BRUNO CARLA DANIEL ELISA FABIO GISELE HUGO IARA JOAO")
                                  .split(QLatin1Char(' '));
    const QStringList last = QStringLiteral("SILVA SOUZA COSTA LIMA ROCHA ALVES DIAS NUNES PINTO MOTA")
                                 .split(QLatin1Char(' '));
    for (int i = 1; i <= kMembers; ++i) {
      insert.addBindValue(QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')));
      insert.addBindValue(QStringLiteral("%1 %2 %3").arg(first[i % 10], last[(i / 10) % 10]).arg(i));
      insert.addBindValue(QStringLiteral("RIO DE JANEIRO"));
      insert.addBindValue(QStringLiteral("RJ"));
      insert.addBindValue(QDate(2020, 1, 1).addDays(i % 1500));
      insert.exec();
    }
    transaction.commit();
    G().GSTR_USUARIO = kMasterUserCode;
  }
  ~BigGym() {
    disconnectStandingConnections();
    if (created_.isEmpty()) return;
    Connection admin(adminSpec(), Connection::uniqueName(QStringLiteral("bench")));
    if (!admin.open()) return;
    for (const QString& db : created_)
      runSql(admin.database(), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(db));
  }

 private:
  QTemporaryDir dir_;
  QStringList created_;
};

Provider providerOf(const benchmark::State& state) {
  return state.range(0) == 0 ? Provider::SQLite : Provider::PostgreSQL;
}

bool unavailable(benchmark::State& state) {
  if (providerOf(state) == Provider::PostgreSQL && qEnvironmentVariableIsEmpty("VANTREL_TEST_PGHOST")) {
    state.SkipWithError("VANTREL_TEST_PGHOST not set: no PostgreSQL to measure");
    return true;
  }
  return false;
}

void BM_OpenMemberWindow(benchmark::State& state) {
  if (unavailable(state)) return;
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
  if (unavailable(state)) return;
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

void BM_SearchKeystrokeByNumber(benchmark::State& state) { searchKeystrokes(state, false); }
void BM_SearchKeystrokeByName(benchmark::State& state) { searchKeystrokes(state, true); }

BENCHMARK(BM_OpenMemberWindow)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SearchKeystrokeByNumber)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_SearchKeystrokeByName)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  describeApplication();
  ConsolePrompter quiet(stderr);
  installPrompter(&quiet);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
