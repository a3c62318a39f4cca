// The reassessment lists: the period the two date fields give, the rows each list selects from
// the bookings, the names and addresses printed for them, and the grouped reports read back
// from PDF.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "base/messages.h"
#include "followup/follow_up_fixture.h"
#include "scheduling/reassessment_lists.h"
#include "support/pdf_text.h"

namespace {

TEST(ReassessmentPeriod, BothDatesAreReadAndTheFinalOneMayNotComeFirst) {
  const struct {
    const char* initial;
    const char* final;
    std::optional<Period> period;
    PeriodField field;
    QString text;
    QString detail;
  } cases[] = {
      {"15/01/2026", "01/02/2026", Period{QDate(2026, 1, 15), QDate(2026, 2, 1)}, {}, {}, {}},
      {"01/02/2026", "01/02/2026", Period{QDate(2026, 2, 1), QDate(2026, 2, 1)}, {}, {}, {}},
      {"1 /2 /2026", "3 /2 /2026", Period{QDate(2026, 2, 1), QDate(2026, 2, 3)}, {}, {}, {}},
      {"02/02/2026", "01/02/2026", std::nullopt, PeriodField::Final, Msg::IntervaloInvalido,
       QStringLiteral("Data final Menor que Data inicial")},
      {"31/02/2026", "01/03/2026", std::nullopt, PeriodField::Initial, Msg::DadoIncorreto,
       QStringLiteral("Data inicial")},
      {"  /  /    ", "01/03/2026", std::nullopt, PeriodField::Initial, Msg::DadoIncorreto,
       QStringLiteral("Data inicial")},
      {"01/03/2026", "01/13/2026", std::nullopt, PeriodField::Final, Msg::DadoIncorreto,
       QStringLiteral("Data final")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.initial << " - " << c.final);
    const auto read = readPeriod(QString::fromLatin1(c.initial), QString::fromLatin1(c.final));
    if (c.period) {
      const Period* period = std::get_if<Period>(&read);
      ASSERT_TRUE(period);
      EXPECT_EQ(period->from, c.period->from);
      EXPECT_EQ(period->to, c.period->to);
      continue;
    }
    const PeriodRefusal* refused = std::get_if<PeriodRefusal>(&read);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->field, c.field);
    EXPECT_EQ(refused->error.text, c.text);
    EXPECT_EQ(refused->error.detail, c.detail);
    EXPECT_TRUE(refused->error.clear);  // the refused field is emptied
  }
  // Fifteenth of January to the first of February: eighteen days.
  const auto period = std::get<Period>(readPeriod("15/01/2026", "01/02/2026"));
  EXPECT_EQ(period.from.daysTo(period.to) + 1, 18);
}

// March 2026, three evaluators. Ana had A and B assembled on the 8th for a booking of the 10th
// (two days early); Bia was assembled on the 12th for the 10th (two days late); Caio's booking
// of the 11th was never assembled; member 4 is gone from the gym and evaluator 9 from the
// staff; Duda's booking of the 31st was assembled on 1 April; Ana's old booking of February is
// outside the period.
class ReassessmentLists : public FollowUpTest {
 protected:
  void SetUp() override {
    FollowUpTest::SetUp();
    addMember(1, QStringLiteral("ANA"), QStringLiteral(" ana@x.com "));
    addMember(2, QStringLiteral("BIA"), QString());
    addMember(3, QStringLiteral("CAIO"), QStringLiteral("caio@x.com"));
    addMember(5, QStringLiteral("DUDA"), QStringLiteral("duda@x.com"));
    addStaff(7, QStringLiteral("RICARDO"));
    addStaff(8, QStringLiteral("LUCIANA"));
    addBooking(1, "A", QDate(2026, 3, 10), "09:00", 7, QDate(2026, 3, 8));
    addBooking(1, "B", QDate(2026, 3, 10), "09:00", 7, QDate(2026, 3, 8));
    addBooking(2, "A", QDate(2026, 3, 10), "10:00", 7, QDate(2026, 3, 12));
    addBooking(3, "A", QDate(2026, 3, 11), "08:00", 8, QDate());
    addBooking(4, "C", QDate(2026, 3, 5), "07:00", 9, QDate(2026, 3, 5));
    addBooking(5, "A", QDate(2026, 3, 31), "18:00", 7, QDate(2026, 4, 1));
    addBooking(1, "A", QDate(2026, 2, 20), "09:00", 7, QDate(2026, 2, 20));
  }

  void addBooking(int member, const char* letter, const QDate& day, const char* hour, int evaluator,
                  const QDate& done) {
    runSql(workout_,
           QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA, HORA, AVALIADOR, "
                          "USUARIO, DATA_FEITA) VALUES (?, ?, ?, ?, ?, '01', ?)"),
           {number(member), QString::fromLatin1(letter), day, QString::fromLatin1(hour),
            number(evaluator),
            done.isValid() ? QVariant(done) : QVariant(QMetaType(QMetaType::QDate))});
  }

  ReassessmentQuery query(ReassessmentList list, bool synthetic = false,
                          std::optional<QString> evaluator = std::nullopt) const {
    return {list, march_, std::move(evaluator), synthetic};
  }

  // The rows named from the gym-management database.
  QList<ReassessmentRow> named(const ReassessmentQuery& q) {
    Result<QList<ReassessmentRow>> rows = selectReassessments(workout_, q);
    EXPECT_TRUE(rows);
    if (!rows) return {};
    EXPECT_TRUE(nameReassessments(gym_, people_, *rows));
    return *rows;
  }

  // One line per row: evaluator, done day, member, letter, booked day, hour.
  static QStringList lines(const QList<ReassessmentRow>& rows) {
    QStringList out;
    for (const ReassessmentRow& r : rows)
      out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                 .arg(r.avaliador.right(1), r.dataFeita.toString(QStringLiteral("dd")),
                      r.matricula.right(1), r.treino, r.data.toString(QStringLiteral("dd")), r.hora)
                 .simplified();
    return out;
  }

  // The report of `q` as PDF, read back line by line with the blanks between items collapsed.
  QStringList reportLines(const ReassessmentQuery& q) {
    const QString file = QDir(files_.path()).filePath(QStringLiteral("lista.pdf"));
    const Report report = reassessmentReport(
        q, named(q),
        {QStringLiteral("ACADEMIA DO TESTE"), QDateTime(march_.to, QTime(9, 30)), march_});
    EXPECT_TRUE(writePdf(report, file));
    QStringList out;
    for (const QString& line : pdfLines(file)) out << line.simplified();
    return out;
  }

  // The lines of `text` that `expected` holds, in the report's order, one text.
  static std::string linesAmong(const QStringList& text, const QStringList& expected) {
    QStringList found;
    for (const QString& line : text)
      if (expected.contains(line)) found << line;
    return found.join(QLatin1Char('\n')).toStdString();
  }

  const Period march_{QDate(2026, 3, 1), QDate(2026, 3, 31)};
  const PeopleTables people_ = peopleTables(false, false);
  QTemporaryDir files_;
};

TEST_P(ReassessmentLists, EachListSelectsItsRowsByEvaluatorAndDay) {
  EXPECT_EQ(lines(*selectReassessments(workout_, query(ReassessmentList::Done))),
            (QStringList{"7 08 1 A 10", "7 08 1 B 10", "7 12 2 A 10", "9 05 4 C 05"}));
  // Synthetic: Ana's two letters of the same day and booking are one line.
  EXPECT_EQ(lines(*selectReassessments(workout_, query(ReassessmentList::Done, true))),
            (QStringList{"7 08 1 10", "7 12 2 10", "9 05 4 05"}));
  // Booked in March, pending or done, whenever done: Caio's and Duda's bookings too.
  EXPECT_EQ(lines(*selectReassessments(workout_, query(ReassessmentList::Scheduled))),
            (QStringList{"7 08 1 A 10 09:00", "7 08 1 B 10 09:00", "7 12 2 A 10 10:00",
                         "7 01 5 A 31 18:00", "8 3 A 11 08:00", "9 05 4 C 05 07:00"}));
  // One evaluator: the booking never assembled is scheduled, never done.
  const QString luciana = number(8);
  EXPECT_TRUE(
      selectReassessments(workout_, query(ReassessmentList::Done, false, luciana))->isEmpty());
  EXPECT_EQ(
      lines(*selectReassessments(workout_, query(ReassessmentList::Scheduled, false, luciana))),
      QStringList{"8 3 A 11 08:00"});
}

TEST_P(ReassessmentLists, NamesAddressesAndTheDaysBetweenBookingAndAssembly) {
  const QList<ReassessmentRow> rows = named(query(ReassessmentList::Done));
  QStringList names;
  QList<int> days;
  for (const ReassessmentRow& r : rows) {
    names << r.nome + QLatin1Char('/') + r.avaliadorNome;
    days << daysAhead(r);
  }
  EXPECT_EQ(names, (QStringList{"ANA/RICARDO", "ANA/RICARDO", "BIA/RICARDO", "Inativo/Excluído"}));
  EXPECT_EQ(days, (QList<int>{2, 2, -2, 0}));

  // One address a row: Ana's two rows give hers twice; Bia has none, member 4 is gone.
  EXPECT_EQ(*reassessmentAddresses(gym_, people_, rows), (QStringList{"ana@x.com", "ana@x.com"}));

  // Alone, members and staff are the workout database's own; a member missing there is
  // "Excluido".
  runSql(workout_, QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME) VALUES (?, 'ANA')"),
         {number(1)});
  runSql(workout_, QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME) VALUES (?, 'RICK')"),
         {number(7)});
  QList<ReassessmentRow> alone = *selectReassessments(workout_, query(ReassessmentList::Done));
  ASSERT_TRUE(nameReassessments(workout_, peopleTables(true, false), alone));
  names.clear();
  for (const ReassessmentRow& r : alone) names << r.nome + QLatin1Char('/') + r.avaliadorNome;
  EXPECT_EQ(names, (QStringList{"ANA/RICK", "ANA/RICK", "Excluido/RICK", "Excluido/Excluído"}));
}

TEST_P(ReassessmentLists, TheDoneReportGroupsByEvaluatorAndDayWithTheirCounts) {
  const QStringList text = reportLines(query(ReassessmentList::Done));
  const QStringList expected{
      "Séries Feitas",
      "ACADEMIA DO TESTE",
      "01/03/2026 à 31/03/2026",
      "Matricula Data Treino Nome Agendado Dif. Dias",
      "0000000007 Avaliador RICARDO",
      "08/03/2026",
      "0000000001 A ANA 10/03/2026 2",
      "0000000001 B ANA 10/03/2026 2",
      "Total de Alunos por Data : 2",
      "12/03/2026",
      "0000000002 A BIA 10/03/2026 -2",
      "Total de Alunos por Data : 1",
      "Total de Alunos por Avaliador : 3",
      "0000000009 Avaliador Excluído",
      "05/03/2026",
      "0000000004 C Inativo 05/03/2026 0",
      "Total de Alunos por Data : 1",
      "Total de Alunos por Avaliador : 1",
      "Total de Alunos no Período : 4",
  };
  // In this order, with only the page's date, time and number around them.
  EXPECT_EQ(linesAmong(text, expected), expected.join(QLatin1Char('\n')).toStdString());
  EXPECT_TRUE(text.contains(QStringLiteral("Data : 31/03/2026"))) << text.join('\n').toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Página: 1")));
}

TEST_P(ReassessmentLists, TheSyntheticReportCountsOneLinePerDayBookingAndMember) {
  const QStringList text = reportLines(query(ReassessmentList::Done, true));
  const QString all = text.join(QLatin1Char('\n'));
  EXPECT_TRUE(text.contains(QStringLiteral("Matricula Data Nome Agendado"))) << all.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("0000000001 ANA 10/03/2026"))) << all.toStdString();
  EXPECT_FALSE(all.contains(QStringLiteral("Treino")));
  EXPECT_FALSE(all.contains(QStringLiteral("Dif. Dias")));
  EXPECT_EQ(text.count(QStringLiteral("Total de Alunos por Data : 1")), 3);
  EXPECT_TRUE(text.contains(QStringLiteral("Total de Alunos por Avaliador : 2")));
  EXPECT_TRUE(text.contains(QStringLiteral("Total de Alunos no Período : 3")));
}

TEST_P(ReassessmentLists, TheScheduledReportListsEveryBookingOfThePeriodWithItsHour) {
  const QStringList text = reportLines(query(ReassessmentList::Scheduled));
  const QStringList expected{
      "Séries Agendadas",
      "Matricula Data Treino Nome Hora",
      "0000000007 Avaliador RICARDO",
      "10/03/2026",
      "0000000001 A ANA 09:00",
      "0000000001 B ANA 09:00",
      "0000000002 A BIA 10:00",
      "Total de Alunos por Data : 3",
      "31/03/2026",
      "0000000005 A DUDA 18:00",
      "Total de Alunos por Data : 1",
      "Total de Alunos por Avaliador : 4",
      "0000000008 Avaliador LUCIANA",
      "11/03/2026",
      "0000000003 A CAIO 08:00",
      "Total de Alunos por Data : 1",
      "Total de Alunos por Avaliador : 1",
      "0000000009 Avaliador Excluído",
      "05/03/2026",
      "0000000004 C Inativo 07:00",
      "Total de Alunos por Data : 1",
      "Total de Alunos por Avaliador : 1",
      "Total de Alunos no Período : 6",
  };
  EXPECT_EQ(linesAmong(text, expected), expected.join(QLatin1Char('\n')).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Providers, ReassessmentLists, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace
