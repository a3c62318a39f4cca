#include "support/test_db.h"

#include <QUuid>

#include "data/sql.h"

namespace {

QString pgHost() {
  return qEnvironmentVariable("VANTREL_TEST_PGHOST");
}

QString pgUser() {
  const QString user = qEnvironmentVariable("VANTREL_TEST_PGUSER");
  return user.isEmpty() ? QStringLiteral("postgres") : user;
}

LinkSpec adminSpec() {
  LinkSpec linkSpec;
  linkSpec.provider = Provider::PostgreSQL;
  linkSpec.dataSource = pgHost();
  linkSpec.catalog = QStringLiteral("postgres");
  linkSpec.user = pgUser();
  return linkSpec;
}

void runAdmin(const QString& sql) {
  Connection admin(adminSpec(), Connection::uniqueName(QStringLiteral("test-admin")));
  if (!admin.open()) {
    ADD_FAILURE() << "PostgreSQL test cluster unreachable at VANTREL_TEST_PGHOST=\""
                  << pgHost().toStdString() << "\": " << admin.lastError().toStdString()
                  << " (run the tests through scripts/test.sh)";
    return;
  }
  try {
    runSql(admin.database(), sql);
  } catch (const SqlError& e) {
    ADD_FAILURE() << e.what();
  }
}

}  // namespace

TestDatabase::TestDatabase(Provider provider) {
  spec_.provider = provider;
  if (provider == Provider::SQLite) {
    spec_.dataSource = dir_.filePath(QStringLiteral("test.db"));
    return;
  }
  spec_ = adminSpec();
  spec_.catalog = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(20);
  runAdmin(QStringLiteral("CREATE DATABASE %1").arg(spec_.catalog));
}

TestDatabase::~TestDatabase() {
  if (spec_.provider == Provider::PostgreSQL)
    runAdmin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(spec_.catalog));
}

std::unique_ptr<Connection> TestDatabase::connect(const QString& name) {
  auto connection = std::make_unique<Connection>(
      spec_, name.isEmpty() ? Connection::uniqueName(QStringLiteral("test")) : name);
  if (!connection->open(Connection::Create::IfMissing))
    ADD_FAILURE() << "cannot open test database: " << connection->lastError().toStdString();
  return connection;
}

std::vector<Provider> testProviders() {
  return {Provider::SQLite, Provider::PostgreSQL};
}

std::string providerTestName(const testing::TestParamInfo<Provider>& info) {
  return info.param == Provider::SQLite ? "SQLite" : "PostgreSQL";
}

TestInstallation::TestInstallation() {
  hadPrevious_ = qEnvironmentVariableIsSet("VANTREL_HOME");
  previous_ = qgetenv("VANTREL_HOME");
  qputenv("VANTREL_HOME", dir_.path().toUtf8());
}

TestInstallation::~TestInstallation() {
  if (hadPrevious_)
    qputenv("VANTREL_HOME", previous_);
  else
    qunsetenv("VANTREL_HOME");
}

void failWritesOf(const QSqlDatabase& db, Provider provider, const QString& table,
                  const QString& when) {
  if (provider == Provider::SQLite) {
    for (const char* event : {"INSERT", "UPDATE"})
      runSql(db, QStringLiteral("CREATE TRIGGER falha_%1_%2 BEFORE %2 ON %1 WHEN %3 BEGIN "
                                "SELECT RAISE(ABORT, 'falha forçada'); END")
                     .arg(table, QString::fromLatin1(event), when));
    return;
  }
  runSql(db, QStringLiteral("CREATE OR REPLACE FUNCTION falha() RETURNS trigger LANGUAGE "
                            "plpgsql AS $$ BEGIN RAISE EXCEPTION 'falha forçada'; END $$"));
  runSql(db, QStringLiteral("CREATE TRIGGER falha_%1 BEFORE INSERT OR UPDATE ON %1 FOR EACH "
                            "ROW WHEN (%2) EXECUTE FUNCTION falha()")
                 .arg(table, when));
}
