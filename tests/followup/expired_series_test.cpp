#include <gtest/gtest.h>

#include "base/messages.h"
#include "follow_up_fixture.h"
#include "followup/expired_series.h"

namespace {

TEST(ExpiryCutOff, MonthsBackKeepingTheDayWhereTheMonthHasIt) {
  const struct {
    QDate today;
    int months;
    QDate cutOff;
  } cases[] = {
      {QDate(2026, 5, 31), 3, QDate(2026, 2, 28)},
      {QDate(2024, 5, 31), 3, QDate(2024, 2, 29)},
      {QDate(2026, 12, 11), 3, QDate(2026, 9, 11)},
      {QDate(2026, 1, 15), 2, QDate(2025, 11, 15)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(expiryCutOff(c.today, c.months), c.cutOff) << c.today.toString().toStdString();
}

TEST(ExpiryInstructor, TheEntryGivesItsRegistrationAndTodosGivesNone) {
  EXPECT_FALSE(instructorOfEntry(QStringLiteral("TODOS")));
  EXPECT_EQ(instructorOfEntry(QStringLiteral("0000000007 - RICARDO")),
            QStringLiteral("0000000007"));
}

class ExpiredSeries : public FollowUpTest {
 protected:
  PeopleTables gymPeople() const { return peopleTables(false, false); }
  const QDate cutOff_ = QDate(2026, 2, 28);
};

TEST_P(ExpiredSeries, RowsBeforeTheCutOffOneLinePerDateAndLetterAndOneAddressPerMember) {
  addMember(1, QStringLiteral("ANA"), QStringLiteral("ana@x.com"));
  addMember(2, QStringLiteral("BIA"), QString());
  // Ana: an old series of A and B (two rows of A), and a new one.
  for (const char* letter : {"A", "A", "B"})
    addSeriesRow(1, QDate(2025, 11, 3), QString::fromLatin1(letter), 7, QDate(2026, 2, 3));
  addSeriesRow(1, QDate(2026, 12, 4), QStringLiteral("A"), 7);
  addSeriesRow(2, QDate(2026, 2, 27), QStringLiteral("A"), 8, QDate(2026, 5, 27));
  addSeriesRow(3, QDate(2026, 2, 28), QStringLiteral("A"), 8);  // on the cut-off: not expired
  addSeriesRow(4, QDate(2026, 1, 5), QStringLiteral("C"), 8);   // no longer a member

  const auto rows = expiredSeries(workout_, gym_, gymPeople(), false, cutOff_, std::nullopt);
  ASSERT_TRUE(rows);
  QStringList lines;
  for (const ExpiredRow& r : *rows)
    lines << QStringLiteral("%1 %2 %3 %4")
                 .arg(r.matricula.right(1), r.nome, r.dataReavaliacao.toString(Qt::ISODate),
                      r.treino);
  lines.sort();
  EXPECT_EQ(lines, (QStringList{"1 ANA 2026-02-03 A", "1 ANA 2026-02-03 B", "2 BIA 2026-05-27 A",
                                "4 Inativo 2026-04-05 C"}));

  const auto addresses = expiredAddresses(workout_, gym_, gymPeople(), cutOff_, std::nullopt);
  ASSERT_TRUE(addresses);
  EXPECT_EQ(addresses->members, 3);
  EXPECT_EQ(addresses->addresses, QStringList{QStringLiteral("ana@x.com")});
}

TEST_P(ExpiredSeries, OneInstructorRestrictsTheRowsAndAloneAGoneMemberIsExcluido) {
  addSeriesRow(1, QDate(2025, 11, 3), QStringLiteral("A"), 7);
  addSeriesRow(2, QDate(2025, 11, 3), QStringLiteral("A"), 8);
  // Alone, the members live in the workout database; neither is there.
  const auto rows = expiredSeries(workout_, workout_, peopleTables(true, false), true, cutOff_,
                                  QStringLiteral("0000000008"));
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 1);
  EXPECT_EQ(rows->first().matricula, number(2));
  EXPECT_EQ(rows->first().nome, QStringLiteral("Excluido"));
}

TEST_P(ExpiredSeries, TheInstructorListHoldsTodosAndTheStrengthInstructorsByName) {
  addStaff(9, QStringLiteral("ZECA"));
  addStaff(7, QStringLiteral("ANDRE"), QStringLiteral("SR PROF MUSC"));
  addStaff(8, QStringLiteral("BETO"), QStringLiteral("RECEPCAO"));
  const auto entries = expiryInstructorEntries(gym_, QStringLiteral("FUNCIONARIOS"));
  ASSERT_TRUE(entries);
  EXPECT_EQ(*entries, (QStringList{"TODOS", "0000000007 - ANDRE", "0000000009 - ZECA"}));
}

TEST_P(ExpiredSeries, TheReportShowsItsTitlesAndOneLinePerRow) {
  const QList<ExpiredRow> rows{{number(1), QStringLiteral("ANA"), QDate(2026, 2, 3), "A"}};
  const Report all =
      expiredSeriesReport(rows, {QStringLiteral("ACADEMIA X"), QDateTime(), "TODOS"});
  EXPECT_EQ(all.name, QStringLiteral("Relatório de Treinos Vencidos"));
  ASSERT_EQ(all.rows.size(), 1);
  EXPECT_EQ(all.rows[0].cells, (QStringList{number(1), "ANA", "03/02/2026", "A"}));
  QStringList texts;
  for (const ReportText& t : all.pageHeader.texts) texts << t.text;
  EXPECT_TRUE(texts.contains(QStringLiteral("Relatório de Séries Vencidas")));
  EXPECT_FALSE(texts.contains(QStringLiteral("TODOS")));
  const Report one = expiredSeriesReport(rows, {QString(), QDateTime(), "0000000007 - ANDRE"});
  texts.clear();
  for (const ReportText& t : one.pageHeader.texts) texts << t.text;
  EXPECT_TRUE(texts.contains(QStringLiteral("0000000007 - ANDRE")));
}

INSTANTIATE_TEST_SUITE_P(Providers, ExpiredSeries, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
