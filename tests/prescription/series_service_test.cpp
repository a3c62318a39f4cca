// Saving a block and publishing it: the portal only ever hears of what was stored.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "data/connection.h"
#include "data/sql.h"
#include "prescription/series_service.h"
#include "support/shell_fixture.h"
#include "support/test_env.h"

namespace {

class SeriesServiceTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    setSetting(QStringLiteral("Portal_Cenection"), QStringLiteral("Sim"));
    setSetting(QStringLiteral("CLIENTE"), 7.0);
    setSetting(QStringLiteral("IntegracaoTamsel"), QStringLiteral("Não"));
    session_.matricula = QStringLiteral("0000000012");
    session_.professor = QStringLiteral("0000000003");
    session_.usuario = QStringLiteral("01");
    session_.settings = *Settings::read(workout());
  }

  WorkoutSave save() const {
    WorkoutSave s;
    s.letter = QStringLiteral("A");
    s.moment = QDateTime::currentDateTime();
    s.changeDate = QDate::currentDate().addMonths(3);
    s.boxes = freshWeekdays();
    WorkoutRow row;
    row.code = QStringLiteral("003");
    row.descricao = QStringLiteral("LEG PRESS");
    row.series = QStringLiteral("3");
    s.rows = {row};
    return s;
  }

  int portalRows() {
    Connection portal(DataSource::Ondrel, Connection::uniqueName(QStringLiteral("portal-teste")));
    EXPECT_TRUE(portal.open());
    const int rows =
        scalarSql(portal.database(),
                  QStringLiteral("SELECT COUNT(*) FROM Portal_Treino WHERE cliente = 7 AND "
                                 "Matricula = '0000000012' AND Codigo_exercicio = '003'"))
            .toInt();
    portal.release();
    return rows;
  }

  SeriesSession session_;
  const MemberContact ana_{QStringLiteral("12345678909"), QStringLiteral("ANA LIMA"),
                           QStringLiteral("ana@exemplo.com")};
};

TEST_F(SeriesServiceTest, AStoredWorkoutIsPublishedAndARefusedOneIsNot) {
  const SeriesService service(workout(), session_);
  ASSERT_EQ(service.saveWorkout(save(), ana_).told(), 1)
      << (testPrompter().messages().isEmpty() ? std::string()
                                              : testPrompter().messages()[0].detail.toStdString());
  EXPECT_EQ(scalarSql(workout(), QStringLiteral("SELECT COUNT(*) FROM Treino WHERE "
                                                "Professor = '0000000003'"))
                .toInt(),
            1);
  EXPECT_EQ(portalRows(), 1);

  // The workout table cannot be written: nothing stored, so nothing goes to the portal.
  Connection portal(DataSource::Ondrel, Connection::uniqueName(QStringLiteral("portal-limpa")));
  ASSERT_TRUE(portal.open());
  runSql(portal.database(), QStringLiteral("DELETE FROM Portal_Treino"));
  portal.release();
  runSql(workout(), QStringLiteral("ALTER TABLE Treino RENAME TO TreinoGuardado"));
  testPrompter().clear();
  EXPECT_FALSE(service.saveWorkout(save(), ana_).told());
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::GravandoNaTabela});
  EXPECT_EQ(portalRows(), 0);
  runSql(workout(), QStringLiteral("ALTER TABLE TreinoGuardado RENAME TO Treino"));
}

TEST_F(SeriesServiceTest, NothingGoesToThePortalWhenTheGymDoesNotPublish) {
  setSetting(QStringLiteral("Portal_Cenection"), QStringLiteral("Não"));
  session_.settings = *Settings::read(workout());
  const SeriesService service(workout(), session_);
  ASSERT_EQ(service.saveWorkout(save(), ana_).told(), 1);
  QList<Failure> failures;
  EXPECT_FALSE(service.portalContext(ana_, failures));
  EXPECT_EQ(portalRows(), 0);
}

// The portal refusing the copy does not undo the save: the rows stay stored and the window
// hears of the portal afterwards.
TEST_F(SeriesServiceTest, APortalThatRefusesLeavesTheSaveStandingAndSaysSo) {
  Connection portal(DataSource::Ondrel, Connection::uniqueName(QStringLiteral("portal-quebra")));
  ASSERT_TRUE(portal.open());
  runSql(portal.database(), QStringLiteral("ALTER TABLE Portal_Treino RENAME TO PortalGuardado"));
  const SeriesService service(workout(), session_);
  const Saved<int> saved = service.saveWorkout(save(), ana_);
  ASSERT_TRUE(saved.stored);
  EXPECT_EQ(*saved.stored, 1);
  ASSERT_EQ(saved.portal.size(), 1);
  EXPECT_EQ(saved.portal[0].text, Msg::GravandoNaTabela);
  EXPECT_EQ(saved.portal[0].detail, QStringLiteral("Portal_Treino"));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
  EXPECT_EQ(saved.told(), 1);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::GravandoNaTabela});
  runSql(portal.database(), QStringLiteral("ALTER TABLE PortalGuardado RENAME TO Portal_Treino"));
  portal.release();
}

}  // namespace
