// How long the connection probe of the one-second timer takes, and how long it takes from
// nothing to a ready main window (settings read, both connections open, menu built), on the
// embedded SQLite installation and on PostgreSQL.
//
//   bench_startup                                 SQLite only
//   VANTREL_TEST_PGHOST=/socket/dir bench_startup  SQLite and PostgreSQL
#include "bench_support.h"

#include "app/main_window.h"
#include "app/shell_logic.h"
#include "forms/session.h"

namespace {

void BM_ConnectionProbe(benchmark::State& state) {
  if (skipWithoutPostgres(state)) return;
  BenchInstallation installation(providerOf(state), true);
  Session session;
  session.connect();
  for (auto _ : state) benchmark::DoNotOptimize(probeWorkoutDatabase(session));
  session.disconnect();
}

void BM_StartupToReadyMainWindow(benchmark::State& state) {
  if (skipWithoutPostgres(state)) return;
  BenchInstallation installation(providerOf(state), true);
  for (auto _ : state) {
    Session session;
    TFRMSEPRINCIPAL window(session);
    window.show();
    if (!window.start()) state.SkipWithError("start failed");
    QCoreApplication::processEvents();
    window.timer()->stop();
    session.disconnect();
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
  return runBenchmarks(argc, argv);
}
