// A SQLite backup is a whole, checked copy: it holds every row at the moment it was taken, and
// nothing is left behind when it cannot be made.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "data/pg_tools.h"
#include "data/schema.h"
#include "data/sql.h"
#include "maintenance/backup_store.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

// Backups hold password hashes and members' data: the folder is the owner's alone and so is
// every backup in it, whatever the umask; nothing but the finished backup is left there.
mode_t modeOf(const QString& path) {
  struct stat info;
  EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
  return info.st_mode & 07777;
}

void expectPrivate(const QString& folder, const QString& file) {
  EXPECT_EQ(modeOf(folder), mode_t(0700));
  EXPECT_EQ(modeOf(file), mode_t(0600));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});
}

// Runs the test body under an open umask, as a desktop session often has.
class OpenUmask {
 public:
  OpenUmask() : previous_(::umask(022)) {}
  ~OpenUmask() { ::umask(previous_); }

 private:
  mode_t previous_;
};

TEST(SqliteBackup, TheCopyHoldsEveryRowOfItsMomentAndIsNamedForIt) {
  OpenUmask umask;
  TestDatabase database(Provider::SQLite);
  std::unique_ptr<Connection> connection = database.connect();
  const QSqlDatabase db = connection->database();
  QList<TableDef> tables;
  for (const char* name : {"Treino", "Aerobica"})
    tables << *findTable(Database::Workout, QString::fromLatin1(name));
  ASSERT_TRUE(createMissingTables(db, connection->dialect(), tables).ok());
  for (int i = 0; i < 50; ++i)
    runSql(db, QStringLiteral("INSERT INTO Treino (Matricula, Treino, Ordem) VALUES (?, 'A', ?)"),
           {QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')), i});
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("Backup"));
  QString why;
  const std::optional<QString> file =
      backupDatabase(db, database.linkSpec(), folder, QDateTime(QDate(2021, 1, 15), QTime(9, 5, 7)),
                     QString(), &why);
  ASSERT_TRUE(file) << why.toStdString();
  EXPECT_EQ(QFileInfo(*file).fileName(), QStringLiteral("Vantrel20210115090507.bak"));
  expectPrivate(folder, *file);
  runSql(db, QStringLiteral("DELETE FROM Treino WHERE Ordem < 10"));

  Connection copy(LinkSpec::sqliteFile(*file), QStringLiteral("copia"));
  ASSERT_TRUE(copy.open());
  const QMap<QString, qint64> counts = copy.dialect().rowCounts(copy.database());
  EXPECT_EQ(counts.value(QStringLiteral("Treino")), 50);
  EXPECT_EQ(counts.value(QStringLiteral("Aerobica")), 0);
  copy.release();

  // The same second again: refused, and the first copy is untouched.
  EXPECT_FALSE(backupDatabase(db, database.linkSpec(), folder,
                              QDateTime(QDate(2021, 1, 15), QTime(9, 5, 7)), QString(), &why));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
}

}  // namespace

namespace {

TEST(PostgresBackup, TheDumpHoldsTheRowsOfItsSnapshotAndAMissingProgramLeavesNothing) {
  OpenUmask umask;
  TestDatabase database(Provider::PostgreSQL);
  std::unique_ptr<Connection> connection = database.connect();
  const QSqlDatabase db = connection->database();
  QList<TableDef> tables;
  for (const char* name : {"Treino", "Aerobica"})
    tables << *findTable(Database::Workout, QString::fromLatin1(name));
  ASSERT_TRUE(createMissingTables(db, connection->dialect(), tables).ok());
  for (int i = 0; i < 30; ++i)
    runSql(db,
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Ordem, Obs) VALUES (?, "
                          "'A', ?, ?)"),
           {QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')), i,
            QStringLiteral("linha\ncom quebra")});
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("Backup"));
  QString why;
  const std::optional<QString> file =
      backupDatabase(db, database.linkSpec(), folder, QDateTime(QDate(2021, 1, 15), QTime(9, 5, 7)),
                     QStringLiteral("/usr/lib/postgresql"), &why);
  ASSERT_TRUE(file) << why.toStdString();
  EXPECT_EQ(QFileInfo(*file).fileName(), QStringLiteral("Vantrel20210115090507.bak"));
  expectPrivate(folder, *file);
  const std::optional<QString> pgRestore = findPostgresTool(
      QStringLiteral("pg_restore"), 0, QStringLiteral("/usr/lib/postgresql"), &why);
  ASSERT_TRUE(pgRestore) << why.toStdString();
  const auto counts = dumpRowCounts(*pgRestore, *file);
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->value(QStringLiteral("treino")), 30);
  EXPECT_EQ(counts->value(QStringLiteral("aerobica")), 0);

  QTemporaryDir noPrograms;
  EXPECT_FALSE(backupDatabase(db, database.linkSpec(), folder,
                              QDateTime(QDate(2021, 1, 16), QTime(9, 5, 7)), noPrograms.path(),
                              &why));
  EXPECT_TRUE(why.startsWith(QStringLiteral("pg_dump não encontrado"))) << why.toStdString();
  EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
}

}  // namespace

namespace {

QStringList treinoRows(const QSqlDatabase& db) {
  QSqlQuery q = runSql(db, QStringLiteral("SELECT Matricula, Ordem, Obs FROM Treino ORDER BY ID"));
  QStringList rows;
  while (q.next())
    rows << q.value(0).toString() + QLatin1Char('|') + q.value(1).toString() + QLatin1Char('|') +
                q.value(2).toString();
  return rows;
}

void fillTreino(const QSqlDatabase& db, const Connection& connection) {
  QList<TableDef> tables{*findTable(Database::Workout, QStringLiteral("Treino"))};
  ASSERT_TRUE(createMissingTables(db, connection.dialect(), tables).ok());
  for (int i = 0; i < 20; ++i)
    runSql(db,
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Ordem, Obs) VALUES (?, "
                          "'A', ?, ?)"),
           {QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')), i, QStringLiteral("antes")});
}

TEST(SqliteRestore, ARoundTripGivesBackTheBackupsMomentAndBadFilesChangeNothing) {
  TestDatabase database(Provider::SQLite);
  QTemporaryDir dir;
  std::optional<QString> file;
  QStringList atBackup;
  {
    std::unique_ptr<Connection> connection = database.connect();
    fillTreino(connection->database(), *connection);
    QString why;
    file = backupDatabase(connection->database(), database.linkSpec(),
                          dir.filePath(QStringLiteral("Backup")),
                          QDateTime(QDate(2021, 1, 15), QTime(9, 0)), QString(), &why);
    ASSERT_TRUE(file) << why.toStdString();
    atBackup = treinoRows(connection->database());
    runSql(connection->database(), QStringLiteral("UPDATE Treino SET Obs = 'depois'"));
    runSql(connection->database(), QStringLiteral("DELETE FROM Treino WHERE Ordem > 10"));
    connection->release();
  }
  const QString databaseFile = database.linkSpec().dataSource;
  QString why;
  // A file that is not a backup by name, or not a database, changes nothing.
  const QString renamed = dir.filePath(QStringLiteral("copia.bak"));
  QFile::copy(*file, renamed);
  EXPECT_FALSE(restoreDatabase(database.linkSpec(), renamed, QString(), &why));
  EXPECT_EQ(why, QStringLiteral("Extensão Inaválida"));
  const QString garbage = dir.filePath(QStringLiteral("Vantrel20210116090000.bak"));
  QFile junk(garbage);
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray(4096, 'x'));
  junk.close();
  EXPECT_FALSE(restoreDatabase(database.linkSpec(), garbage, QString(), &why));
  // Files that open as databases but are no backup of the gym: an empty file (what a backup
  // killed at once leaves), a database without the series, the series without a single row.
  const QString empty = dir.filePath(QStringLiteral("Vantrel20010101010000.bak"));
  QFile(empty).open(QIODevice::WriteOnly);
  const auto databaseFileWith = [&](const QString& name, const QString& sql) {
    const QString path = dir.filePath(name);
    Connection other(LinkSpec::sqliteFile(path), Connection::uniqueName(QStringLiteral("outro")));
    EXPECT_TRUE(other.open(Connection::Create::IfMissing));
    runSql(other.database(), sql);
    other.release();
    return path;
  };
  const QString noSeries = databaseFileWith(QStringLiteral("Vantrel20010101010001.bak"),
                                            QStringLiteral("CREATE TABLE Outra (X INTEGER)"));
  const QString noRows = databaseFileWith(QStringLiteral("Vantrel20010101010002.bak"),
                                          QStringLiteral("CREATE TABLE Treino (X INTEGER)"));
  for (const auto& [bad, reason] : {std::pair{empty, "O backup não tem a tabela Treino"},
                                    {noSeries, "O backup não tem a tabela Treino"},
                                    {noRows, "O backup não tem nenhum registro"}}) {
    EXPECT_FALSE(restoreDatabase(database.linkSpec(), bad, QString(), &why)) << bad.toStdString();
    EXPECT_EQ(why, QString::fromUtf8(reason)) << bad.toStdString();
  }
  EXPECT_EQ(QDir(QFileInfo(databaseFile).path())
                .entryList({QStringLiteral("*.restaurando*")}, QDir::Files),
            QStringList{});
  {
    std::unique_ptr<Connection> connection = database.connect();
    EXPECT_EQ(treinoRows(connection->database()).size(), 11);
    connection->release();
  }
  ASSERT_TRUE(restoreDatabase(database.linkSpec(), *file, QString(), &why)) << why.toStdString();
  std::unique_ptr<Connection> connection = database.connect();
  EXPECT_EQ(treinoRows(connection->database()), atBackup);
}

TEST(PostgresRestore, ARoundTripGivesBackTheBackupsMomentAndABrokenDumpChangesNothing) {
  TestDatabase database(Provider::PostgreSQL);
  std::unique_ptr<Connection> connection = database.connect();
  const QSqlDatabase db = connection->database();
  fillTreino(db, *connection);
  QTemporaryDir dir;
  QString why;
  const std::optional<QString> file = backupDatabase(
      db, database.linkSpec(), dir.filePath(QStringLiteral("Backup")),
      QDateTime(QDate(2021, 1, 15), QTime(9, 0)), QStringLiteral("/usr/lib/postgresql"), &why);
  ASSERT_TRUE(file) << why.toStdString();
  const QStringList atBackup = treinoRows(db);
  runSql(db, QStringLiteral("UPDATE Treino SET Obs = 'depois'"));
  runSql(db, QStringLiteral("DELETE FROM Treino WHERE Ordem > 10"));
  const QStringList changed = treinoRows(db);
  connection->release();

  // A dump cut short is refused before anything is touched.
  const QString broken = dir.filePath(QStringLiteral("Vantrel20210116090000.bak"));
  {
    QFile whole(*file);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile part(broken);
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write(whole.read(whole.size() / 2));
  }
  EXPECT_FALSE(
      restoreDatabase(database.linkSpec(), broken, QStringLiteral("/usr/lib/postgresql"), &why));
  std::unique_ptr<Connection> again = database.connect();
  EXPECT_EQ(treinoRows(again->database()), changed);
  again->release();

  // The dump of a database that holds no series is no backup of the gym.
  TestDatabase stranger(Provider::PostgreSQL);
  std::unique_ptr<Connection> other = stranger.connect();
  runSql(other->database(), QStringLiteral("CREATE TABLE Outra (X INTEGER)"));
  const std::optional<QString> foreign = backupDatabase(
      other->database(), stranger.linkSpec(), dir.filePath(QStringLiteral("Outra")),
      QDateTime(QDate(2021, 1, 17), QTime(9, 0)), QStringLiteral("/usr/lib/postgresql"), &why);
  other->release();
  ASSERT_TRUE(foreign) << why.toStdString();
  EXPECT_FALSE(
      restoreDatabase(database.linkSpec(), *foreign, QStringLiteral("/usr/lib/postgresql"), &why));
  EXPECT_EQ(why, QStringLiteral("O backup não tem a tabela Treino"));

  // A table made after the backup is not in what the backup held.
  {
    std::unique_ptr<Connection> later = database.connect();
    runSql(later->database(), QStringLiteral("CREATE TABLE Depois (X INTEGER)"));
    later->release();
  }
  ASSERT_TRUE(
      restoreDatabase(database.linkSpec(), *file, QStringLiteral("/usr/lib/postgresql"), &why))
      << why.toStdString();
  std::unique_ptr<Connection> restored = database.connect();
  EXPECT_EQ(treinoRows(restored->database()), atBackup);
  EXPECT_EQ(restored->dialect().rowCounts(restored->database()).keys(), QStringList{"treino"});
  restored->release();
}

}  // namespace

namespace {

class BackupUpkeep : public testing::TestWithParam<Provider> {};

TEST_P(BackupUpkeep, ScratchTablesAreDroppedAndOtherTablesStay) {
  TestDatabase database(GetParam());
  std::unique_ptr<Connection> connection = database.connect();
  const QSqlDatabase db = connection->database();
  for (const char* table : {"TempExercicio133458", "tempAerobica1", "Treino", "AtempX"})
    runSql(db, QStringLiteral("CREATE TABLE %1 (X INTEGER)").arg(QString::fromLatin1(table)));
  QStringList dropped = dropScratchTables(db, connection->dialect());
  for (QString& name : dropped) name = name.toLower();
  dropped.sort();
  EXPECT_EQ(dropped, (QStringList{"tempaerobica1", "tempexercicio133458"}));
  EXPECT_TRUE(sqlRuns(db, QStringLiteral("SELECT * FROM Treino")));
  EXPECT_TRUE(sqlRuns(db, QStringLiteral("SELECT * FROM AtempX")));
  EXPECT_FALSE(sqlRuns(db, QStringLiteral("SELECT * FROM tempAerobica1")));
}

INSTANTIATE_TEST_SUITE_P(Providers, BackupUpkeep, testing::ValuesIn(testProviders()),
                         providerTestName);

TEST(BackupCleanUp, OnlyBackupsPastFifteenDaysGoFromTheFolder) {
  QTemporaryDir dir;
  for (const char* name : {"Vantrel20201231235959.bak", "Vantrel20210101000000.bak",
                           "Vantrel20201231235959-2019.bak", "outro.bak"}) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  // What a backup killed midway left: gone the next day, never while it may still be written.
  for (const auto& [name, day] :
       {std::pair{"Vantrel20210114100000.bak.parcial", QDate(2021, 1, 14)},
        {"Vantrel20210114100000.bak.parcial-journal", QDate(2021, 1, 14)},
        {"Vantrel20210115080000.bak.parcial", QDate(2021, 1, 15)}}) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.setFileTime(QDateTime(day, QTime(10, 0)), QFileDevice::FileModificationTime));
  }
  EXPECT_EQ(removeOldBackups(dir.path(), QDate(2021, 1, 15)),
            QStringList{"Vantrel20201231235959.bak"});
  QStringList left = QDir(dir.path()).entryList(QDir::Files);
  left.sort();
  EXPECT_EQ(left, (QStringList{"Vantrel20201231235959-2019.bak", "Vantrel20210101000000.bak",
                               "Vantrel20210115080000.bak.parcial", "outro.bak"}));
}

}  // namespace

namespace {

class Purge : public testing::TestWithParam<Provider> {};

TEST_P(Purge, EmptiesTheSeriesUpToTheYearAndAFailureDeletesNothing) {
  TestDatabase database(GetParam());
  std::unique_ptr<Connection> connection = database.connect();
  const QSqlDatabase db = connection->database();
  QList<TableDef> tables;
  for (const char* name : {"Treino", "Aerobica", "Alongamento", "Agendado", "Exercicios"})
    tables << *findTable(Database::Workout, QString::fromLatin1(name));
  ASSERT_TRUE(createMissingTables(db, connection->dialect(), tables).ok());
  for (const QDate& day : {QDate(2018, 5, 1), QDate(2019, 12, 31), QDate(2020, 1, 1)}) {
    for (const char* table : {"Treino", "Aerobica", "Alongamento"})
      runSql(db,
             QStringLiteral("INSERT INTO %1 (Matricula, Data) VALUES ('0000000001', ?)")
                 .arg(QString::fromLatin1(table)),
             {day});
    runSql(db, QStringLiteral("INSERT INTO Agendado (MATRICULA, DATA) VALUES ('0000000001', ?)"),
           {day});
  }
  runSql(db, QStringLiteral("INSERT INTO Exercicios (Codigo, Descricao) VALUES ('001', 'X')"));
  const auto count = [&](const char* table) {
    return scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QString::fromLatin1(table)))
        .toInt();
  };
  // A forced failure in the last table: nothing is deleted anywhere.
  if (GetParam() == Provider::SQLite) {
    runSql(db, QStringLiteral("CREATE TRIGGER falha BEFORE DELETE ON Treino BEGIN SELECT "
                              "RAISE(ABORT, 'falha forçada'); END"));
  } else {
    runSql(db, QStringLiteral("CREATE FUNCTION falha() RETURNS trigger LANGUAGE plpgsql AS $$ "
                              "BEGIN RAISE EXCEPTION 'falha forçada'; END $$"));
    runSql(db, QStringLiteral("CREATE TRIGGER falha BEFORE DELETE ON Treino FOR EACH ROW EXECUTE "
                              "FUNCTION falha()"));
  }
  testPrompter().clear();
  EXPECT_FALSE(purgeSeries(db, 2019).okOrTell());
  EXPECT_EQ(testPrompter().messages().value(0).detail, QStringLiteral("Banco de Dados"));
  for (const char* table : {"Treino", "Aerobica", "Alongamento", "Agendado"})
    EXPECT_EQ(count(table), 3) << table;
  runSql(db, QStringLiteral("DROP TRIGGER falha%1")
                 .arg(GetParam() == Provider::SQLite ? QString() : QStringLiteral(" ON Treino")));

  EXPECT_EQ(purgeSeries(db, 2019), 8);
  for (const char* table : {"Treino", "Aerobica", "Alongamento", "Agendado"})
    EXPECT_EQ(count(table), 1) << table;
  EXPECT_EQ(count("Exercicios"), 1);
}

INSTANTIATE_TEST_SUITE_P(Providers, Purge, testing::ValuesIn(testProviders()), providerTestName);

}  // namespace
