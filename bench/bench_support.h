// What the benchmark programs share: the PostgreSQL cluster the test command starts (its socket
// folder in VANTREL_TEST_PGHOST), scratch databases on it, a temporary installation, and the
// main that runs the benchmarks offscreen.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QUuid>

#include "app/application.h"
#include "app/installation.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/link_file.h"
#include "data/sql.h"

inline LinkSpec postgresAdmin() {
  LinkSpec linkSpec;
  linkSpec.provider = Provider::PostgreSQL;
  linkSpec.dataSource = qEnvironmentVariable("VANTREL_TEST_PGHOST");
  linkSpec.catalog = QStringLiteral("postgres");
  linkSpec.user = QStringLiteral("postgres");
  return linkSpec;
}

inline bool postgresAvailable() {
  return !qEnvironmentVariableIsEmpty("VANTREL_TEST_PGHOST");
}

// Benchmarks take the provider as their first argument: 0 SQLite, 1 PostgreSQL.
inline Provider providerOf(const benchmark::State& state) {
  return state.range(0) == 0 ? Provider::SQLite : Provider::PostgreSQL;
}

// True (and the run marked skipped) when the benchmark wants PostgreSQL and there is none.
inline bool skipWithoutPostgres(benchmark::State& state) {
  if (providerOf(state) != Provider::PostgreSQL || postgresAvailable()) return false;
  state.SkipWithError("VANTREL_TEST_PGHOST not set: no PostgreSQL to measure");
  return true;
}

// Databases created on the cluster for one run, dropped when it ends.
class ScratchDatabases {
 public:
  ~ScratchDatabases() {
    for (const QString& name : created_)
      admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
  }
  // A new empty database; its link.
  LinkSpec create() {
    LinkSpec linkSpec = postgresAdmin();
    linkSpec.catalog = QStringLiteral("b_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    admin(QStringLiteral("CREATE DATABASE %1").arg(linkSpec.catalog));
    created_ << linkSpec.catalog;
    return linkSpec;
  }

 private:
  static void admin(const QString& sql) {
    Connection connection(postgresAdmin(), Connection::uniqueName(QStringLiteral("bench-admin")));
    if (!connection.open()) throw SqlError(connection.lastError());
    runSql(connection.database(), sql);
  }
  QStringList created_;
};

// An installation in a temporary folder (VANTREL_HOME), on embedded SQLite files or on fresh
// PostgreSQL databases, prepared by `vantrel init` (with the demonstration gym when asked).
class BenchInstallation {
 public:
  BenchInstallation(Provider provider, bool demo) {
    qputenv("VANTREL_HOME", dir_.path().toUtf8());
    if (provider == Provider::PostgreSQL)
      for (DataSource source :
           {DataSource::Vantrel, DataSource::Brisca, DataSource::Tamsel, DataSource::Ondrel})
        writeLinkFile(linkFilePath(source), databases_.create());
    const InitReport report = runInit(demo);
    if (!report.ok) throw SqlError(report.error);
  }

 private:
  QTemporaryDir dir_;
  ScratchDatabases databases_;
};

inline double residentMegabytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

// The body of every benchmark program's main: an offscreen application, messages to stderr.
inline int runBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  describeApplication();
  ConsolePrompter quiet(stderr);
  installPrompter(&quiet);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  installPrompter(nullptr);
  return 0;
}
