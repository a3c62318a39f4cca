#include <gtest/gtest.h>

#include <QFile>

#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "registry/people_source.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class PeopleSourceTest : public ShellFixture {
 protected:
  void breakGymLink() {
    QFile link(linkFilePath(DataSource::Brisca));
    ASSERT_TRUE(link.open(QIODevice::WriteOnly | QIODevice::Truncate));
    link.write("Provider=SQLite;Data Source=nao-existe.db");
  }
};

TEST_F(PeopleSourceTest, TablesFollowTheSettings) {
  const struct {
    const char* path;
    const char* active;
    DataSource source;
    const char* members;
    const char* staff;
  } cases[] = {{"Sim", "Sim", DataSource::Vantrel, "Alunos", "Funcionarios"},
               {"Não", "Não", DataSource::Brisca, "ALUNOS", "FUNCIONARIOS"},
               {"Não", "Sim", DataSource::Brisca, "ALUNOSATIVOS", "FUNCIONARIOS"},
               {"", "Não", DataSource::Brisca, "ALUNOS", "FUNCIONARIOS"}};
  for (const auto& c : cases) {
    const PeopleTables t = peopleTables(QString::fromUtf8(c.path), QString::fromUtf8(c.active));
    EXPECT_EQ(t.source, c.source) << c.path << c.active;
    EXPECT_EQ(t.members, QString::fromLatin1(c.members));
    EXPECT_EQ(t.staff, QString::fromLatin1(c.staff));
    EXPECT_EQ(t.photos, QStringLiteral("FotosAlunos"));
  }
}

TEST_F(PeopleSourceTest, AloneTheGymManagementDatabaseIsNotNeeded) {
  breakGymLink();
  runSql(workout(), QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, ?)"),
         {QStringLiteral("0000000001"), QStringLiteral("ANA")});
  auto connection =
      openPeopleConnection(peopleTables(*session_.rereadSettings()), QStringLiteral("Alunos"));
  ASSERT_TRUE(connection);
  EXPECT_EQ(
      scalarSql((*connection)->database(), QStringLiteral("SELECT NOME FROM Alunos")).toString(),
      QStringLiteral("ANA"));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

TEST_F(PeopleSourceTest, BesideTheGymProgramItsDatabaseIsReadOrReportedDown) {
  setSetting(QStringLiteral("PATH_EXERCICIO"), QStringLiteral("Não"));
  auto gym =
      openPeopleConnection(peopleTables(*session_.rereadSettings()), QStringLiteral("Alunos"));
  ASSERT_TRUE(gym);
  EXPECT_TRUE(
      sqlRuns((*gym)->database(), QStringLiteral("SELECT MATRICULA, BOLSISTA FROM ALUNOS")));

  breakGymLink();
  const auto down =
      openPeopleConnection(peopleTables(*session_.rereadSettings()), QStringLiteral("Alunos"));
  ASSERT_FALSE(down);
  EXPECT_EQ(down.failure().text, Msg::BriscaInativo);
  EXPECT_EQ(down.failure().detail, QStringLiteral("Alunos"));
  EXPECT_FALSE(down.failure().log.isEmpty());
}

}  // namespace
