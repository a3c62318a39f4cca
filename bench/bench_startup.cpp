// How long the connection probe of the one-second timer takes, and how long it takes from
// nothing to a ready main window (settings read, both connections open, menu built), on the
// embedded SQLite installation and on PostgreSQL.
//
//   bench_startup                                 SQLite only
//   VANTREL_TEST_PGHOST=/socket/dir bench_startup  SQLite and PostgreSQL
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QUuid>

#include "app/application.h"
#include "app/installation.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "app/shell_logic.h"
#include "app/standing_connections.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/sql.h"

namespace {

// A demonstration installation in a temporary folder, on SQLite or on fresh PostgreSQL databases.
class BenchInstallation {
 public:
  explicit BenchInstallation(Provider provider) {
    qputenv("VANTREL_HOME", dir_.path().toUtf8());
    if (provider == Provider::PostgreSQL) {
      for (DataSource source :
           {DataSource::Vantrel, DataSource::Brisca, DataSource::Tamsel, DataSource::Ondrel}) {
        LinkSpec spec = admin();
        spec.catalog = QStringLiteral("b_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        Connection connection(admin(), Connection::uniqueName(QStringLiteral("bench-admin")));
        if (!connection.open()) throw SqlError(connection.lastError());
        runSql(connection.database(), QStringLiteral("CREATE DATABASE %1").arg(spec.catalog));
        created_ << spec.catalog;
        writeLinkFile(linkFilePath(source), spec);
      }
    }
    const InitReport report = runInit(true);
    if (!report.ok) throw SqlError(report.error);
  }
  ~BenchInstallation() {
    Connection connection(admin(), Connection::uniqueName(QStringLiteral("bench-admin")));
    if (created_.isEmpty() || !connection.open()) return;
    for (const QString& db : created_)
      runSql(connection.database(),
             QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(db));
  }

  static bool postgresAvailable() { return !qEnvironmentVariableIsEmpty("VANTREL_TEST_PGHOST"); }

 private:
  static LinkSpec admin() {
    LinkSpec spec;
    spec.provider = Provider::PostgreSQL;
    spec.dataSource = qEnvironmentVariable("VANTREL_TEST_PGHOST");
    spec.catalog = QStringLiteral("postgres");
    spec.user = QStringLiteral("postgres");
    return spec;
  }

  QTemporaryDir dir_;
  QStringList created_;
};

Provider providerOf(const benchmark::State& state) {
  return state.range(0) == 0 ? Provider::SQLite : Provider::PostgreSQL;
}

bool skipUnavailable(benchmark::State& state) {
  if (providerOf(state) == Provider::PostgreSQL && !BenchInstallation::postgresAvailable()) {
    state.SkipWithError("VANTREL_TEST_PGHOST not set: no PostgreSQL to measure");
    return true;
  }
  return false;
}

void BM_ConnectionProbe(benchmark::State& state) {
  if (skipUnavailable(state)) return;
  BenchInstallation installation(providerOf(state));
  connectStandingConnections();
  for (auto _ : state) benchmark::DoNotOptimize(probeWorkoutDatabase());
  disconnectStandingConnections();
}

void BM_StartupToReadyMainWindow(benchmark::State& state) {
  if (skipUnavailable(state)) return;
  BenchInstallation installation(providerOf(state));
  for (auto _ : state) {
    TFRMSEPRINCIPAL window;
    window.show();
    if (!window.start()) state.SkipWithError("start failed");
    QCoreApplication::processEvents();
    window.timer()->stop();
    disconnectStandingConnections();
  }
}

BENCHMARK(BM_ConnectionProbe)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartupToReadyMainWindow)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond);

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
