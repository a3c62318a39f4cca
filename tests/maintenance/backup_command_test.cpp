// The backup, restore and purge commands on a fresh installation, its workout database embedded
// or on a PostgreSQL server.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/installation.h"
#include "base/messages.h"
#include "base/installation_folder.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/link_file.h"
#include "data/schema.h"
#include "data/sql.h"
#include "maintenance/backup_command.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

class BackupCommands : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    testPrompter().clear();
    ASSERT_TRUE(runInit(false).ok);
    if (GetParam() == Provider::PostgreSQL) movesToServer();
  }

  // The installation's workout database (and the restore's link to it) on the server.
  void movesToServer() {
    server_ = std::make_unique<TestDatabase>(Provider::PostgreSQL);
    std::unique_ptr<Connection> connection = server_->connect();
    ASSERT_TRUE(createMissingTables(connection->database(), connection->dialect(),
                                    Database::Workout)
                    .ok());
    connection->release();
    for (DataSource source : {DataSource::Vantrel, DataSource::RestoreBackup})
      ASSERT_TRUE(writeLinkFile(linkFilePath(source), server_->linkSpec()));
  }

  bool tableExists(const QString& name) {
    Connection workout(DataSource::Vantrel, QStringLiteral("tabelas"));
    EXPECT_TRUE(workout.open());
    const QStringList tables = existingTables(workout.database(), workout.dialect());
    workout.release();
    return tables.contains(name, Qt::CaseInsensitive);
  }

  int rows(const char* sql) {
    Connection workout(DataSource::Vantrel, QStringLiteral("contagem"));
    EXPECT_TRUE(workout.open());
    const int n = scalarSql(workout.database(), QString::fromLatin1(sql)).toInt();
    workout.release();
    return n;
  }

  void run(const char* sql, const QVariantList& values = {}) {
    Connection workout(DataSource::Vantrel, QStringLiteral("escrita"));
    ASSERT_TRUE(workout.open());
    runSql(workout.database(), QString::fromLatin1(sql), values);
    workout.release();
  }

  QStringList backups() {
    return QDir(QDir(installationFolder()).filePath(QStringLiteral("Backup")))
        .entryList(QDir::Files, QDir::Name);
  }

  TestInstallation home_;
  std::unique_ptr<TestDatabase> server_;
};

TEST_P(BackupCommands, ABackupRestoredBringsBackItsMomentAndACopyGoesToTheOtherVolume) {
  run("INSERT INTO Treino (Matricula, Treino, Data, Ordem) VALUES ('0000000001', 'A', ?, 1)",
      {QDate(2026, 3, 4)});
  run("CREATE TABLE TempExercicio101010 (X INTEGER)");
  QTemporaryDir pendrive;
  ASSERT_EQ(runBackupCommand({QStringLiteral("--copy-to"), pendrive.path()}), 0);
  ASSERT_EQ(backups().size(), 1);
  // The copy on the pen drive is as private as the backup, and nothing else is left there.
  const QFileInfo copy(QDir(pendrive.path()).filePath(backups().first()));
  EXPECT_TRUE(copy.exists());
  EXPECT_EQ(copy.permissions() & 0x0077, QFile::Permissions());
  EXPECT_EQ(QDir(pendrive.path()).entryList(QDir::Files), QStringList{copy.fileName()});
  // The scratch table left behind went with the backup.
  EXPECT_FALSE(tableExists(QStringLiteral("TempExercicio101010")));

  run("DELETE FROM Treino");
  const QString file = QDir(installationFolder()).filePath(QStringLiteral("Backup/") + backups().first());
  ASSERT_EQ(runRestoreCommand({file}), 0);
  EXPECT_EQ(rows("SELECT COUNT(*) FROM Treino"), 1);

  // An empty file under a backup's name: refused, and the database is left as it is.
  testPrompter().clear();
  const QString empty = QDir(pendrive.path()).filePath(QStringLiteral("Vantrel20010101010000.bak"));
  QFile(empty).open(QIODevice::WriteOnly);
  EXPECT_EQ(runRestoreCommand({empty}), 1);
  EXPECT_EQ(testPrompter().texts().value(0), Msg::ErroRestore);
  EXPECT_EQ(rows("SELECT COUNT(*) FROM Treino"), 1);

  testPrompter().clear();
  EXPECT_EQ(runRestoreCommand({QDir(pendrive.path()).filePath(QStringLiteral("outro.bak"))}), 1);
  EXPECT_EQ(testPrompter().messages().value(0).detail, QStringLiteral("Extensão Inaválida"));
  EXPECT_EQ(runRestoreCommand({}), 2);
}

TEST_P(BackupCommands, APurgeBacksUpFirstAndEmptiesOnlyTheYearsAllowed) {
  const int year = QDate::currentDate().year();
  run("INSERT INTO Treino (Matricula, Treino, Data, Ordem) VALUES ('0000000001', 'A', ?, 1)",
      {QDate(year - 3, 6, 1)});
  run("INSERT INTO Treino (Matricula, Treino, Data, Ordem) VALUES ('0000000001', 'A', ?, 1)",
      {QDate(year - 1, 6, 1)});
  testPrompter().clear();
  EXPECT_EQ(runPurgeCommand({QStringLiteral("--year"), QString::number(year - 1)}), 1);
  EXPECT_EQ(testPrompter().messages().value(0).detail,
            QStringLiteral("Ano selecionado não pode ser esvaziado"));
  EXPECT_TRUE(backups().isEmpty());
  EXPECT_EQ(runPurgeCommand({QStringLiteral("--year"), QString::number(year - 2)}), 0);
  ASSERT_EQ(backups().size(), 1);
  EXPECT_TRUE(backups().first().endsWith(QStringLiteral("-%1.bak").arg(year - 2)));
  EXPECT_EQ(rows("SELECT COUNT(*) FROM Treino"), 1);
  EXPECT_EQ(runPurgeCommand({QStringLiteral("--year")}), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, BackupCommands, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
