// Throw-away databases for tests, on SQLite and on the PostgreSQL cluster that the
// test command starts (VANTREL_TEST_PGHOST names its socket folder).
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "data/connection.h"
#include "data/link_file.h"

class TestDatabase {
 public:
  explicit TestDatabase(Provider provider);
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  Provider provider() const { return spec_.provider; }
  const LinkSpec& linkSpec() const { return spec_; }

  // A new open connection to this database (creates the SQLite file on first use).
  std::unique_ptr<Connection> connect(const QString& name = QString());

 private:
  QTemporaryDir dir_;
  LinkSpec spec_;
};

// Makes every write of `table` on `db` that matches `when` (a condition on NEW) fail inside the
// database, as a full disk or a broken constraint would.
void failWritesOf(const QSqlDatabase& db, Provider provider, const QString& table,
                  const QString& when = QStringLiteral("1 = 1"));

// The providers every database test runs on.
std::vector<Provider> testProviders();

// Names for value-parameterised tests: "SQLite", "PostgreSQL".
std::string providerTestName(const testing::TestParamInfo<Provider>& info);

// A temporary installation folder set as VANTREL_HOME for the life of the object.
class TestInstallation {
 public:
  TestInstallation();
  ~TestInstallation();
  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray previous_;
  bool hadPrevious_ = false;
};
