#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "app/installation.h"
#include "base/error_log.h"
#include "base/password.h"
#include "base/routines.h"
#include "data/connection.h"
#include "data/data_source.h"
#include "data/schema.h"
#include "data/sql.h"
#include "portal/publish_command.h"
#include "printouts/receipt_command.h"
#include "registry/demo_gym.h"
#include "registry/jpeg_codec.h"
#include "support/test_db.h"

namespace {

int countRows(const QSqlDatabase& db, const QString& sqlCount, const QVariantList& values = {}) {
  return scalarSql(db, sqlCount, values).toInt();
}

// Opens a data source of the installation as the program would.
std::unique_ptr<Connection> openSource(DataSource source) {
  auto c = std::make_unique<Connection>(source, Connection::uniqueName(QStringLiteral("inst")));
  EXPECT_TRUE(c->open()) << c->lastError().toStdString();
  return c;
}

TEST(Installation, AFreshFolderGetsEmbeddedDatabasesSettingsAndTheMasterUser) {
  TestInstallation home;
  EXPECT_FALSE(installationExists());
  const InitReport first = runInit(false);
  ASSERT_TRUE(first.ok) << first.error.toStdString();
  EXPECT_TRUE(first.changed);
  EXPECT_TRUE(installationExists());
  for (const char* link : {"Vantrel.udl", "Brisca.udl", "Tamsel.udl", "Ondrel.udl",
                           "ResrtoreBackup.udl", "SA/Brisca.udl", "SA/Ondrel.udl"})
    EXPECT_TRUE(QFileInfo::exists(home.path() + QLatin1Char('/') + QLatin1String(link))) << link;

  const struct {
    DataSource source;
    Database database;
  } sources[] = {{DataSource::Vantrel, Database::Workout},
                 {DataSource::Brisca, Database::GymManagement},
                 {DataSource::Tamsel, Database::Assessment},
                 {DataSource::Ondrel, Database::Portal},
                 {DataSource::SaBrisca, Database::GymManagement}};
  for (const auto& s : sources) {
    auto c = openSource(s.source);
    EXPECT_EQ(existingTables(c->database(), c->dialect()).size(), tablesOf(s.database).size())
        << dataSourceName(s.source).toStdString();
  }

  auto workout = openSource(DataSource::Vantrel);
  const QSqlDatabase db = workout->database();
  EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Secvar")), 1);
  EXPECT_EQ(scalarSql(db, QStringLiteral("SELECT PATH_EXERCICIO FROM Secvar")).toString(),
            QStringLiteral("Sim"));
  EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Alunos")), 0);  // no demo asked
  const QString stored =
      scalarSql(db, QStringLiteral("SELECT SENHA FROM Usuarios WHERE CODIGO = ?"),
                {kMasterUserCode})
          .toString();
  EXPECT_TRUE(isPasswordHash(stored));
  EXPECT_TRUE(passwordMatches(kMasterFirstPassword, stored));
  EXPECT_FALSE(passwordMatches(QStringLiteral("MESTRA"), stored));
  EXPECT_EQ(countRows(db,
                      QStringLiteral("SELECT COUNT(*) FROM Usuarios WHERE C_ATIVIDADE = ? AND "
                                     "C_GrupamentoMuscular = ? AND U_BACKUP = ?"),
                      {QStringLiteral("Sim"), QStringLiteral("Sim"), QStringLiteral("Sim")}),
            1);

  // Running it again changes nothing, demo or not, and says so.
  const InitReport again = runInit(true);
  ASSERT_TRUE(again.ok) << again.error.toStdString();
  EXPECT_FALSE(again.changed);
  EXPECT_TRUE(again.lines.last().contains(QStringLiteral("nada foi alterado")));
  EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Alunos")), 0);
  EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Usuarios")), 1);
}

// Password hashes, members' data and server passwords: nobody but the owner reads them,
// whatever the umask the program was started with.
TEST(Installation, TheFolderAndEveryFileInItArePrivate) {
  TestInstallation home;
  const QString folder = home.path() + QStringLiteral("/nova");
  qputenv("VANTREL_HOME", QFile::encodeName(folder));
  const mode_t previous = ::umask(022);
  const InitReport report = runInit(true);
  appendToLog(QStringLiteral("teste"));
  ::umask(previous);
  ASSERT_TRUE(report.ok) << report.error.toStdString();
  const auto mode = [](const QString& path) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & 0777;
  };
  EXPECT_EQ(mode(folder), 0700u);
  EXPECT_EQ(mode(folder + QStringLiteral("/SA")), 0700u);
  QStringList files;
  QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) files << it.next();
  for (const char* expected : {"Vantrel.udl", "SA/Ondrel.udl", "vantrel.db", "brisca.db",
                               "tamsel.db", "ondrel.db", "vantrel.log"})
    EXPECT_TRUE(files.contains(folder + QLatin1Char('/') + QLatin1String(expected))) << expected;
  for (const QString& file : files) EXPECT_EQ(mode(file), 0600u) << file.toStdString();
}

TEST(Installation, ABrokenLinkStopsWithTheReason) {
  TestInstallation home;
  QFile link(home.path() + QStringLiteral("/Vantrel.udl"));
  ASSERT_TRUE(link.open(QIODevice::WriteOnly));
  link.write("Provider=SQLOLEDB.1;Data Source=SERVIDOR");
  link.close();
  const InitReport report = runInit(false);
  EXPECT_FALSE(report.ok);
  EXPECT_TRUE(report.error.contains(QStringLiteral("SQLOLEDB.1"))) << report.error.toStdString();
  // Only the files the gym wrote are there: nothing was invented beside them.
  EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/Brisca.udl")));
}

// A gym on a database server writes its link files and runs init: the same tables, settings,
// master user and (when asked) demonstration gym land on the server.
class ServerInstallation : public testing::TestWithParam<Provider> {};

TEST_P(ServerInstallation, InitFillsTheDatabasesTheLinksName) {
  TestInstallation home;
  TestDatabase workout(GetParam()), gym(GetParam()), assessment(GetParam()), portal(GetParam());
  const struct {
    DataSource source;
    TestDatabase* database;
  } links[] = {{DataSource::Vantrel, &workout},
               {DataSource::Brisca, &gym},
               {DataSource::Tamsel, &assessment},
               {DataSource::Ondrel, &portal}};
  for (const auto& l : links) {
    l.database->connect();  // creates the SQLite file; the server database already exists
    ASSERT_TRUE(writeLinkFile(linkFilePath(l.source), l.database->linkSpec()));
  }
  const InitReport report = runInit(true);
  ASSERT_TRUE(report.ok) << report.error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/vantrel.db")));

  auto c = workout.connect();
  const QSqlDatabase db = c->database();
  EXPECT_GE(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Alunos")), 30);
  EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Alunos WHERE NOME = ?"),
                      {QStringLiteral("O'NEIL SANTANA DA PAZ")}),
            1);
  EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM FotosAlunos")),
            countRows(db, QStringLiteral("SELECT COUNT(*) FROM Alunos")));
  const QByteArray photo =
      scalarSql(db, QStringLiteral("SELECT FOTO1 FROM FotosAlunos WHERE MATRICULA = ?"),
                {QStringLiteral("0000000001")})
          .toByteArray();
  EXPECT_EQ(decodeJpeg(photo).size(), QSize(240, 320));
  EXPECT_GE(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Funcionarios WHERE CARGO LIKE ?"),
                      {QStringLiteral("%PROF MUSC%")}),
            2);
  EXPECT_GT(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Exercicios WHERE Tipo = ?"),
                      {QStringLiteral("N")}),
            0);
  EXPECT_GT(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Exercicios WHERE Tipo = ?"),
                      {QStringLiteral("S")}),
            0);
  EXPECT_GT(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Treino")), 0);
  EXPECT_GT(countRows(db, QStringLiteral("SELECT COUNT(*) FROM Agenda")), 0);
  EXPECT_EQ(scalarSql(db, QStringLiteral("SELECT ACADEMIA FROM Secvar")).toString(),
            demoGymSettings().value(QStringLiteral("ACADEMIA")).toString());
  // Every demonstration CPF is a valid one.
  QSqlQuery cpfs = runSql(db, QStringLiteral("SELECT CPF FROM Alunos"));
  while (cpfs.next())
    EXPECT_TRUE(VALIDA_CPF(cpfs.value(0).toString())) << cpfs.value(0).toString().toStdString();

  auto tables = gym.connect();
  EXPECT_EQ(existingTables(tables->database(), tables->dialect()).size(),
            tablesOf(Database::GymManagement).size());

  // Everything can be tried without a printer or a server: the receipt goes to a file of the
  // installation and the series to the installation's own portal.
  const QString receipt = scalarSql(db, QStringLiteral("SELECT PORTA_IMP FROM Secvar")).toString();
  EXPECT_EQ(QFileInfo(receipt).absolutePath(), QDir(home.path()).absolutePath());
  EXPECT_EQ(runReceiptCommand({QStringLiteral("1"), QStringLiteral("1")}), 0);
  EXPECT_GT(QFileInfo(receipt).size(), 0);
  const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
  const QString yearAgo = QDate::currentDate().addYears(-1).toString(QStringLiteral("dd/MM/yyyy"));
  EXPECT_EQ(runPublishCommand({QStringLiteral("--from"), yearAgo, QStringLiteral("--to"), today}),
            0);
  auto published = portal.connect();
  EXPECT_GT(scalarSql(published->database(), QStringLiteral("SELECT COUNT(*) FROM Portal_Treino"))
                .toInt(),
            0);

  const InitReport again = runInit(true);
  ASSERT_TRUE(again.ok);
  EXPECT_FALSE(again.changed);
}

INSTANTIATE_TEST_SUITE_P(Providers, ServerInstallation, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
