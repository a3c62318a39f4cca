#include <gtest/gtest.h>

#include "base/messages.h"
#include "follow_up_fixture.h"
#include "followup/absent_members.h"

namespace {

const QDateTime kNow(QDate(2026, 12, 11), QTime(10, 0));
const QString kAlunos = QStringLiteral("ALUNOS");

TEST(AbsenceDays, TheTimerDropsTheTimeAndTheWindowRoundsHalfToEven) {
  // 15 days ago at 14:00, seen at 10:00: 14 days and 20 hours by the clock.
  const QDateTime afternoon(kNow.date().addDays(-15), QTime(14, 0));
  EXPECT_EQ(absenceDaysByDate(afternoon.date(), kNow.date()), 15);
  EXPECT_EQ(absenceDaysByTime(afternoon, kNow), 15);
  const struct {
    double days;
    int counted;
  } cases[] = {{14.4, 14}, {14.6, 15}, {14.5, 14}, {15.5, 16}, {15.0, 15}, {0.5, 0}};
  for (const auto& c : cases) {
    const QDateTime entrance = kNow.addMSecs(-qint64(c.days * 24 * 60 * 60 * 1000));
    EXPECT_EQ(absenceDaysByTime(entrance, kNow), c.counted) << c.days;
  }
}

using AbsentMembers = FollowUpTest;

TEST_P(AbsentMembers, OnlyTheMembersAwayExactlyThatLongWithAnEmailAndNoScholarship) {
  const struct {
    const char* name;
    const char* email;
    bool scholarship;
    double daysAway;  // of the last entrance
    bool listed;
  } cases[] = {
      {"ANA", "ana@x.com", false, 15.0, true},    {"BIA", "bia@x.com", false, 16.0, false},
      {"CAIO", "caio@x.com", false, 30.0, false}, {"DUDA", "", false, 15.0, false},
      {"ENZO", "enzo@x.com", true, 15.0, false},  {"FABI", "fabi@x.com", false, 14.4, false},
      {"GUI", "gui@x.com", false, 15.3, true},
  };
  int n = 0;
  QStringList expected;
  for (const auto& c : cases) {
    addMember(++n, QString::fromLatin1(c.name), QString::fromLatin1(c.email), c.scholarship);
    addEntrance(n, kNow.addDays(-40));  // an older entrance: the latest one counts
    addEntrance(n, kNow.addMSecs(-qint64(c.daysAway * 24 * 60 * 60 * 1000)));
    if (c.listed) expected << QString::fromLatin1(c.name);
  }
  const Result<QList<AbsentMember>> found = absentMembers(gym_, workout_, kAlunos, 15, kNow);
  ASSERT_TRUE(found);
  QStringList names;
  for (const AbsentMember& m : *found) names << m.nome;
  EXPECT_EQ(names, expected);
}

TEST_P(AbsentMembers, TheTimerAsksByDateAndCountsFromTheLatestEntrance) {
  addMember(1, QStringLiteral("ANA"), QStringLiteral("ana@x.com"));
  const QDate today = kNow.date();
  // Back 15 days in the afternoon: 14.x days by the clock, 15 by the date.
  addEntrance(1, QDateTime(today.addDays(-15), QTime(14, 0)));
  EXPECT_TRUE(*anyAbsentMember(gym_, kAlunos, 15, today));
  // A later entrance makes her present again.
  addEntrance(1, QDateTime(today.addDays(-3), QTime(9, 0)));
  EXPECT_FALSE(*anyAbsentMember(gym_, kAlunos, 15, today));
  EXPECT_TRUE(*anyAbsentMember(gym_, kAlunos, 3, today));
  // A scholarship member or one without e-mail never makes the button blink.
  addMember(2, QStringLiteral("BIA"), QString());
  addMember(3, QStringLiteral("CAIO"), QStringLiteral("caio@x.com"), true);
  addEntrance(2, QDateTime(today.addDays(-10), QTime(8, 0)));
  addEntrance(3, QDateTime(today.addDays(-10), QTime(8, 0)));
  EXPECT_FALSE(*anyAbsentMember(gym_, kAlunos, 10, today));
}

TEST_P(AbsentMembers, TheDaysVisitorsAreReadOnceAndOnlyThoseNotBackAreAskedAgain) {
  const QDate today = kNow.date();
  const QDate day = today.addDays(-15);
  addMember(1, QStringLiteral("ANA"), QStringLiteral("ana@x.com"));
  addMember(2, QStringLiteral("BIA"), QString());
  addMember(3, QStringLiteral("CAIO"), QStringLiteral("caio@x.com"), true);
  for (int n : {1, 2, 3}) addEntrance(n, QDateTime(day, QTime(8 + n, 0)));
  addEntrance(1, QDateTime(today.addDays(-2), QTime(9, 0)));  // Ana came back
  Result<QStringList> visitors = unreturnedVisitors(gym_, day);
  ASSERT_TRUE(visitors);
  QStringList sorted = *visitors;
  sorted.sort();
  EXPECT_EQ(sorted, (QStringList{number(2), number(3)}));
  EXPECT_FALSE(*anyAbsentAmong(gym_, kAlunos, *visitors, day));
  // Bia's e-mail is written later that day: she counts from the next tick on.
  runSql(gym_, QStringLiteral("UPDATE ALUNOS SET EMAIL = 'bia@x.com' WHERE MATRICULA = ?"),
         {number(2)});
  EXPECT_TRUE(*anyAbsentAmong(gym_, kAlunos, *visitors, day));
  // She comes in: no longer absent, though still on the day's list.
  addEntrance(2, QDateTime(today, QTime(7, 0)));
  EXPECT_FALSE(*anyAbsentAmong(gym_, kAlunos, *visitors, day));
  EXPECT_FALSE(*anyAbsentAmong(gym_, kAlunos, {}, day));
}

TEST_P(AbsentMembers, TheInstructorIsTheOneOfTheLatestSeriesAndSaysWhenGone) {
  for (int n : {1, 2, 3}) {
    addMember(n, QStringLiteral("ALUNO %1").arg(n), QStringLiteral("a%1@x.com").arg(n));
    addEntrance(n, kNow.addDays(-15));
  }
  addStaff(7, QStringLiteral("RICARDO"));
  addStaff(8, QStringLiteral("PAULA"));
  addSeriesRow(1, QDate(2026, 1, 10), QStringLiteral("A"), 7);
  addSeriesRow(1, QDate(2026, 6, 10), QStringLiteral("A"), 8);
  addSeriesRow(2, QDate(2026, 6, 10), QStringLiteral("A"), 99);  // not on the staff any more
  const Result<QList<AbsentMember>> found = absentMembers(gym_, workout_, kAlunos, 15, kNow);
  ASSERT_TRUE(found);
  ASSERT_EQ(found->size(), 3);
  EXPECT_EQ((*found)[0].professor, QStringLiteral("PAULA"));
  EXPECT_EQ((*found)[1].professor, QStringLiteral("Excluído"));
  EXPECT_EQ((*found)[2].professor, QString());  // no series at all
}

TEST_P(AbsentMembers, AGymDatabaseThatCannotBeReadIsSaidInItsWords) {
  runSql(gym_, QStringLiteral("DROP TABLE ACESSO"));
  const Result<bool> timer = anyAbsentMember(gym_, kAlunos, 15, kNow.date());
  ASSERT_FALSE(timer);
  EXPECT_EQ(timer.failure().text, Msg::BriscaInativo);
  EXPECT_EQ(timer.failure().detail, QStringLiteral("Alunos Ausentes"));
  const auto window = absentMembers(gym_, workout_, kAlunos, 15, kNow);
  ASSERT_FALSE(window);
  EXPECT_EQ(window.failure().text, Msg::AberturaDeTabela);
  EXPECT_EQ(window.failure().detail, QStringLiteral("TempAlunosAusentes"));
}

INSTANTIATE_TEST_SUITE_P(Providers, AbsentMembers, testing::ValuesIn(testProviders()),
                         providerTestName);

TEST(AbsentSearch, ByNamePrefixWhileTypingAndWholeNameOnEnterCaseIgnored) {
  QList<AbsentMember> members;
  for (const char* name : {"ANA LIMA", "ANDRE", "BRUNO"}) {
    AbsentMember m;
    m.nome = QString::fromLatin1(name);
    members << m;
  }
  const struct {
    const char* text;
    int starting;
    int named;
  } cases[] = {{"an", 0, -1}, {"AND", 1, -1}, {"andre", 1, 1},
               {"b", 2, -1},  {"z", -1, -1},  {"", 0, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(absentRowStarting(members, QString::fromLatin1(c.text)), c.starting) << c.text;
    EXPECT_EQ(absentRowNamed(members, QString::fromLatin1(c.text)), c.named) << c.text;
  }
}

TEST(AbsentAddresses, AnAddressNextToTheSameOneIsWrittenOnce) {
  QList<AbsentMember> members;
  for (const char* email : {"a@x.com", "b@x.com", "b@x.com", "c@x.com", "b@x.com"}) {
    AbsentMember m;
    m.email = QString::fromLatin1(email);
    members << m;
  }
  EXPECT_EQ(absentAddresses(members), (QStringList{"a@x.com", "b@x.com", "c@x.com", "b@x.com"}));
}

}  // namespace
