// A workstation switched off in the middle of a save: a child process saves workouts one after
// another and is killed at a random moment once it has saved, many times; after each kill the member has either
// the workout of one save or of the next, whole, never a mixture or a part of one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QThread>

#include "data/schema.h"
#include "data/sql.h"
#include "series/series_save.h"
#include "series/series_store.h"
#include "support/test_db.h"

namespace {

const QString kAna = QStringLiteral("0000000012");
const QString kA = QStringLiteral("A");
const char* const kChildProvider = "VANTREL_SAVE_CHILD_PROVIDER";

// The workout of save number `generation`: its size and every load tell which save it was.
WorkoutSave generationSave(int generation) {
  WorkoutSave save;
  save.matricula = kAna;
  save.letter = kA;
  save.professor = QStringLiteral("0000000003");
  save.usuario = QStringLiteral("02");
  save.moment = QDateTime::currentDateTime();
  save.changeDate = save.moment.date().addMonths(3);
  save.boxes = freshWeekdays();
  save.boxes[1].checked = true;
  const int size = 6 + generation % 9;
  for (int i = 0; i < size; ++i) {
    WorkoutRow row;
    row.code = QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0'));
    row.series = QStringLiteral("3");
    row.peso = QStringLiteral("G%1").arg(generation);
    save.rows << row;
  }
  return save;
}

LinkSpec childLink() {
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  LinkSpec link;
  link.provider = env.value(QString::fromLatin1(kChildProvider)) == QStringLiteral("pg")
                      ? Provider::PostgreSQL
                      : Provider::SQLite;
  link.dataSource = env.value(QStringLiteral("VANTREL_SAVE_CHILD_SOURCE"));
  link.catalog = env.value(QStringLiteral("VANTREL_SAVE_CHILD_CATALOG"));
  link.user = env.value(QStringLiteral("VANTREL_SAVE_CHILD_USER"));
  return link;
}

// The child's part: saves until it is killed.
TEST(SaveKillChild, SavesUntilKilled) {
  if (!qEnvironmentVariableIsSet(kChildProvider)) GTEST_SKIP() << "run by SaveKill only";
  Connection connection(childLink(), QStringLiteral("filho"));
  ASSERT_TRUE(connection.open());
  const int first = qEnvironmentVariableIntValue("VANTREL_SAVE_CHILD_FIRST");
  for (int generation = first;; ++generation) {
    static_cast<void>(saveWorkout(connection.database(), generationSave(generation)));
    // From here on the child does nothing but save, so a kill lands in the middle of one.
    if (generation == first) {
      fputs("salvo\n", stdout);
      fflush(stdout);
    }
  }
}

class SaveKill : public testing::TestWithParam<Provider> {};

TEST_P(SaveKill, AKilledSaveLeavesTheOldWorkoutOrTheNewOneWhole) {
  TestDatabase database(GetParam());
  std::unique_ptr<Connection> check = database.connect();
  const QSqlDatabase db = check->database();
  QList<TableDef> tables;
  for (const char* name : {"Treino", "Agendado", "Exercicios"})
    tables << *findTable(Database::Workout, QString::fromLatin1(name));
  ASSERT_TRUE(createMissingTables(db, check->dialect(), tables).ok());
  ASSERT_EQ(saveWorkout(db, generationSave(0)), 6);

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  const LinkSpec& link = database.linkSpec();
  env.insert(QString::fromLatin1(kChildProvider),
             link.provider == Provider::PostgreSQL ? QStringLiteral("pg") : QStringLiteral("sqlite"));
  env.insert(QStringLiteral("VANTREL_SAVE_CHILD_SOURCE"), link.dataSource);
  env.insert(QStringLiteral("VANTREL_SAVE_CHILD_CATALOG"), link.catalog);
  env.insert(QStringLiteral("VANTREL_SAVE_CHILD_USER"), link.user);

  constexpr int kKills = 30;
  for (int kill = 0; kill < kKills; ++kill) {
    QProcess child;
    env.insert(QStringLiteral("VANTREL_SAVE_CHILD_FIRST"), QString::number(1000 * (kill + 1)));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SaveKillChild.*")});
    // Waits for the child's first save, however slow the machine: every kill then falls among
    // the saves, never before them.
    bool saved = false;
    while (!saved) {
      while (!saved && child.canReadLine()) saved = child.readLine().trimmed() == "salvo";
      if (!saved) {
        ASSERT_TRUE(child.waitForReadyRead(60000)) << "the saving process never saved";
      }
    }
    QThread::usleep(QRandomGenerator::global()->bounded(0, 20000));
    child.kill();
    child.waitForFinished(10000);

    const QList<WorkoutRow> rows = currentWorkout(db, kAna, kA);
    ASSERT_FALSE(rows.isEmpty()) << "kill " << kill;
    const int generation = rows[0].peso.mid(1).toInt();
    ASSERT_EQ(rows.size(), 6 + generation % 9) << "kill " << kill << ", save " << generation;
    for (int i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].peso, rows[0].peso) << "kill " << kill;
      EXPECT_EQ(rows[i].ordem, i + 1) << "kill " << kill;
    }
    EXPECT_GE(generation, 1000 * (kill + 1)) << "kill " << kill;
  }
}

INSTANTIATE_TEST_SUITE_P(Providers, SaveKill, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
