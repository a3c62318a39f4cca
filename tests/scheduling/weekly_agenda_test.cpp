// Editing the weekly grid on each provider, two workstations at once included, and the
// instructors and members the agenda windows list.
#include <gtest/gtest.h>

#include <barrier>
#include <thread>

#include "base/globals.h"
#include "data/schema.h"
#include "data/sql.h"
#include "scheduling/agenda_people.h"
#include "scheduling/weekly_agenda.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

AgendaSlot slot(const QString& hora, const QString& monday = QString()) {
  AgendaSlot s;
  s.hora = hora;
  s.evaluators[0] = monday;
  return s;
}

}  // namespace

TEST(WeeklyAgenda, AnHourIsReadAsTypedAndWrittenHhMm) {
  const struct {
    const char* typed;
    const char* hour;  // nullptr: refused
  } cases[] = {{"09:00", "09:00"}, {"9:00", "09:00"},  {" 9:30", "09:30"}, {"09.15", "09:15"},
               {"0745", "07:45"},  {"23:59", "23:59"}, {"24:00", nullptr}, {"09:60", nullptr},
               {"", nullptr},      {"  :  ", nullptr}, {"9h", nullptr},    {"123:00", nullptr}};
  for (const auto& c : cases) {
    const Result<QString> hour = typedHour(QString::fromLatin1(c.typed));
    if (c.hour) {
      ASSERT_TRUE(hour) << c.typed;
      EXPECT_EQ(*hour, QString::fromLatin1(c.hour)) << c.typed;
    } else {
      ASSERT_FALSE(hour) << c.typed;
      EXPECT_EQ(hour.failure().detail, QStringLiteral("Hora")) << c.typed;
    }
  }
}

TEST(AgendaPeople, TheBoxesWriteInstructorsTheirOwnWay) {
  const QList<Instructor> staff{{"0000000003", "CARLA"}, {"0000000004", "ANDRE"}};
  EXPECT_EQ(reviewInstructorEntries(staff),
            (QStringList{"TODOS", "0000000003 - CARLA", "0000000004 - ANDRE"}));
  EXPECT_EQ(evaluatorEntries(staff), (QStringList{"ANDRE - 0000000004", "CARLA - 0000000003"}));
  EXPECT_EQ(evaluatorEntryFor(QStringLiteral("0000000003 - CARLA")),
            QStringLiteral("CARLA - 0000000003"));
  EXPECT_FALSE(evaluatorEntryFor(QStringLiteral("TODOS")));
  EXPECT_EQ(evaluatorOfEntry(QStringLiteral("CARLA - 0000000003")), QStringLiteral("0000000003"));
}

class WeeklyAgendaStore : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    resetGlobals();
    testPrompter().clear();
    connection_ = database_.connect();
    db_ = connection_->database();
    const SchemaReport report = createMissingTables(db_, connection_->dialect(), Database::Workout);
    ASSERT_TRUE(report.ok()) << report.error.toStdString();
  }
  QList<AgendaSlot> stored() { return *readAgenda(db_); }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(WeeklyAgendaStore, RowsAreStoredOnceAndNeverOverAChangeMadeElsewhere) {
  ASSERT_TRUE(storeAgendaRow(db_, {slot("9:00", "0000000003"), {}}));
  ASSERT_TRUE(storeAgendaRow(db_, {slot("08.00"), {}}));
  QList<AgendaSlot> rows = stored();
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0].hora, QStringLiteral("08:00"));
  EXPECT_EQ(rows[1], slot("09:00", "0000000003"));

  // Another row with a stored hour is refused; a row is renamed and changed in place.
  const Outcome twice = storeAgendaRow(db_, {slot("09:00"), {}});
  ASSERT_FALSE(twice);
  EXPECT_EQ(twice.failure().text, QStringLiteral("Hora já cadastrada !"));
  ASSERT_TRUE(storeAgendaRow(db_, {slot("10:00", "0000000004"), rows[1]}));
  rows = stored();
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[1], slot("10:00", "0000000004"));

  // A second workstation read the row before the first changed it, then deleted it.
  const AgendaRow stale{slot("10:00", "0000000005"), slot("09:00", "0000000003")};
  const Outcome changed = storeAgendaRow(db_, stale);
  ASSERT_FALSE(changed);
  EXPECT_EQ(changed.failure().text, QStringLiteral("Gravando na tabela !"));
  const AgendaRow late{slot("10:00", "0000000005"), rows[1]};
  ASSERT_TRUE(deleteAgendaRow(db_, QStringLiteral("10:00")));
  EXPECT_FALSE(storeAgendaRow(db_, late));
  EXPECT_EQ(stored().size(), 1);

  EXPECT_FALSE(storeAgendaRow(db_, {slot("25:00"), {}}));
  EXPECT_TRUE((AgendaRow{slot(""), {}}).blank());
  EXPECT_FALSE((AgendaRow{slot("", "0000000003"), {}}).blank());
}

TEST_P(WeeklyAgendaStore, TwoWorkstationsTypingTheSameNewHourStoreItOnce) {
  const int trials = GetParam() == Provider::PostgreSQL ? 50 : 10;
  std::barrier together(2);
  int kept[2] = {0, 0};
  auto workstation = [&](int n) {
    std::unique_ptr<Connection> own = database_.connect(QStringLiteral("grade%1").arg(n));
    for (int t = 0; t < trials; ++t) {
      together.arrive_and_wait();
      const QString hour = QStringLiteral("%1:%2").arg(6 + t / 60, 2, 10, QLatin1Char('0'))
                               .arg(t % 60, 2, 10, QLatin1Char('0'));
      kept[n] += storeAgendaRow(own->database(), {slot(hour, QStringLiteral("000000000%1").arg(n)), {}})
                       ? 1 : 0;
    }
  };
  std::thread a(workstation, 0);
  std::thread b(workstation, 1);
  a.join();
  b.join();
  EXPECT_EQ(kept[0] + kept[1], trials);
  EXPECT_EQ(stored().size(), trials);
}

TEST_P(WeeklyAgendaStore, InstructorsAndMemberNamesComeFromThePeopleTables) {
  runSql(db_, QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME, CARGO, DATA_DEMISSAO) "
                             "VALUES ('0000000004', 'ANDRE', 'PROF MUSC', NULL), "
                             "('0000000003', 'CARLA', 'PROF MUSC I', NULL), "
                             "('0000000005', 'DORA', 'RECEPCAO', NULL), "
                             "('0000000006', 'EVA', 'PROF MUSC', ?)"),
         {QDate(2025, 1, 1)});
  const auto names = [](const QList<Instructor>& list) {
    QStringList out;
    for (const Instructor& i : list) out << i.nome;
    return out;
  };
  EXPECT_EQ(names(*agendaInstructors(db_, "Funcionarios", Employment::Any)),
            (QStringList{"CARLA", "ANDRE", "EVA"}));
  EXPECT_EQ(names(*agendaInstructors(db_, "Funcionarios", Employment::Current)),
            (QStringList{"CARLA", "ANDRE"}));

  runSql(db_, QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES ('0000000012', 'ANA')"));
  const PeopleTables people = peopleTables(true, false);
  const QHash<QString, QString> found =
      *memberNames(db_, people, {"0000000012", "0000000099", "0000000012"});
  EXPECT_EQ(found.size(), 1);
  EXPECT_EQ(found.value("0000000012"), QStringLiteral("ANA"));
}

INSTANTIATE_TEST_SUITE_P(Providers, WeeklyAgendaStore, testing::ValuesIn(testProviders()),
                         providerTestName);
