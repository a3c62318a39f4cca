// "Séries Feitas" and "Séries Agendadas" as the receptionist uses them, opened from their menu
// entries on the installation's own databases, and `vantrel report done|scheduled`: the period
// fields and their refusals, what reaches the report output and the e-mail window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>

#include "base/globals.h"
#include "base/messages.h"
#include "base/typed_date.h"
#include "data/sql.h"
#include "followup/email_address.h"
#include "followup/email_window.h"
#include "printing/report_output.h"
#include "scheduling/reassessment_command.h"
#include "scheduling/reassessment_windows.h"
#include "support/frame_fixture.h"
#include "support/pdf_text.h"
#include "support/test_env.h"

namespace {

QString number(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

// The program runs alone here: members and staff live in the workout database. Ana had A and
// B assembled today for a booking two days ahead; Bia is booked for today and not yet done.
class ReassessmentWindows : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    setMailWindowOpener(
        [this](Session&, const EmailRecipients& recipients, QWidget*) { mails_ << recipients; });
    setReportOutput([this](const Report& report, bool preview, QWidget*) {
      reports_ << report;
      previews_ << preview;
    });
    runSql(workout(),
           QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME, CARGO) VALUES "
                          "(?, 'RICARDO', 'PROF MUSC')"),
           {number(7)});
    runSql(workout(),
           QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, EMAIL) VALUES "
                          "(?, 'ANA', 'ana@x.com'), (?, 'BIA', 'bia@x.com')"),
           {number(1), number(2)});
    for (const char* letter : {"A", "B"}) addBooking(1, letter, today_.addDays(2), today_);
    addBooking(2, "A", today_, QDate());
  }
  void TearDown() override {
    setMailWindowOpener(nullptr);
    setReportOutput(nullptr);
    FrameFixture::TearDown();
  }

  void addBooking(int member, const char* letter, const QDate& day, const QDate& done) {
    runSql(workout(),
           QStringLiteral("INSERT INTO Agendado (MATRICULA, TREINO, DATA, HORA, AVALIADOR, "
                          "USUARIO, DATA_FEITA) VALUES (?, ?, ?, '09:00', ?, '01', ?)"),
           {number(member), QString::fromLatin1(letter), day, number(7),
            done.isValid() ? QVariant(done) : QVariant(QMetaType(QMetaType::QDate))});
  }

  template <typename Window>
  Window* open(const char* entry) {
    auto* window = openEntry<Window>(entry);
    QApplication::processEvents();
    return window;
  }

  // Types both dates as the user would, each followed by Enter.
  static void typePeriod(QWidget* window, const QString& from, const QString& to) {
    for (const auto& [name, date] :
         {std::pair{"EDTDATAINICIAL", from}, std::pair{"EDTDATAFINAL", to}}) {
      window->findChild<QLineEdit*>(QString::fromLatin1(name))->clear();
      typeEnter(window, name, date);
    }
  }

  static QLineEdit* field(QWidget* window, const char* name) {
    return window->findChild<QLineEdit*>(QString::fromLatin1(name));
  }

  const QDate today_ = QDate::currentDate();
  QList<EmailRecipients> mails_;
  QList<Report> reports_;
  QList<bool> previews_;
};

TEST_F(ReassessmentWindows, DoneSeriesRefuseABadPeriodThenPreviewPrintAndListTheAddresses) {
  auto* window = open<TFRMREAVALIACAOFEITA>("MnAvaliaesFeitas");
  ASSERT_TRUE(window);
  EXPECT_EQ(field(window, "EDTDATAINICIAL")->text(),
            formatTypedDate(QDate(today_.year(), today_.month(), 1)));
  EXPECT_EQ(field(window, "EDTDATAFINAL")->text(), formatTypedDate(today_));
  auto* evaluators = window->findChild<QComboBox*>(QStringLiteral("CBFUNCIONARIOS"));
  ASSERT_EQ(evaluators->count(), 2);
  EXPECT_EQ(evaluators->itemText(1), QStringLiteral("0000000007 - RICARDO"));

  // Enter writes a date back whole; a date that is not one is refused and emptied.
  field(window, "EDTDATAINICIAL")->clear();
  typeEnter(window, "EDTDATAINICIAL", QStringLiteral("1 2 2026"));
  EXPECT_EQ(field(window, "EDTDATAINICIAL")->text(), QStringLiteral("01/02/2026"));
  EXPECT_TRUE(field(window, "EDTDATAFINAL")->hasFocus());
  field(window, "EDTDATAFINAL")->clear();
  typeEnter(window, "EDTDATAFINAL", QStringLiteral("31/02/2026"));
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::DadoIncorreto);
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Data final"));
  EXPECT_TRUE(isBlankDate(field(window, "EDTDATAFINAL")->text()));

  // The final date before the initial one: refused on "Vídeo", nothing is made.
  testPrompter().clear();
  typePeriod(window, QStringLiteral("02/02/2026"), QStringLiteral("01/02/2026"));
  clickButton(window, "BBNVIDEO");
  ASSERT_EQ(testPrompter().messages().size(), 1);
  EXPECT_EQ(testPrompter().messages()[0].text, Msg::IntervaloInvalido);
  EXPECT_EQ(testPrompter().messages()[0].detail,
            QStringLiteral("Data final Menor que Data inicial"));
  EXPECT_TRUE(isBlankDate(field(window, "EDTDATAFINAL")->text()));
  EXPECT_TRUE(reports_.isEmpty());

  // Ana's two letters; Bia's booking was never assembled.
  testPrompter().clear();
  typePeriod(window, formatTypedDate(today_.addDays(-today_.day() + 1)), formatTypedDate(today_));
  clickButton(window, "BBNVIDEO");
  ASSERT_EQ(reports_.size(), 1);
  EXPECT_TRUE(previews_[0]);
  EXPECT_EQ(reports_[0].name, QStringLiteral("Treinos Feitos"));
  ASSERT_EQ(reports_[0].rows.size(), 2);
  EXPECT_EQ(
      reports_[0].rows[0].cells.mid(0, 6),
      (QStringList{number(1), QString(), "A", "ANA", formatTypedDate(today_.addDays(2)), "2"}));
  EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("BBNVIDEO"))->isEnabled());

  window->findChild<QCheckBox*>(QStringLiteral("CBSINTETICO"))->setChecked(true);
  clickButton(window, "BBNIMPRIME");
  ASSERT_EQ(reports_.size(), 2);
  EXPECT_FALSE(previews_[1]);
  EXPECT_EQ(reports_[1].rows.size(), 1);

  // The address file holds a line per listed row; the e-mail window reads it.
  window->findChild<QCheckBox*>(QStringLiteral("CBSINTETICO"))->setChecked(false);
  testPrompter().answerNext(kAnswerYes);
  clickButton(window, "BBNEMAIL");
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::DesejaEnviarEmails});
  ASSERT_EQ(mails_.size(), 1);
  EXPECT_TRUE(mails_[0].fromAddressFile());
  QFile file(addressFilePath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            (QStringList{"ana@x.com;", "ana@x.com;"}));
  EXPECT_FALSE(G().GBOL_EMAIL_RELATORIO);
  EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("BBNEMAIL"))->isEnabled());
}

TEST_F(ReassessmentWindows, ABookingNeverAssembledIsListedOnlyAsScheduled) {
  auto* scheduled = open<TFRMREAVALIACAOAGENDADA>("MnAvaliaesAgendadas");
  ASSERT_TRUE(scheduled);
  EXPECT_FALSE(scheduled->findChild<QCheckBox*>(QStringLiteral("CBSINTETICO")));
  typePeriod(scheduled, formatTypedDate(today_), formatTypedDate(today_));
  clickButton(scheduled, "BBNVIDEO");
  ASSERT_EQ(reports_.size(), 1);
  EXPECT_EQ(reports_[0].name, QStringLiteral("Treinos Agendados"));
  ASSERT_EQ(reports_[0].rows.size(), 1);
  EXPECT_EQ(reports_[0].rows[0].cells.mid(0, 5),
            (QStringList{number(2), QString(), "A", "BIA", "09:00"}));
  testPrompter().answerNext(kAnswerYes);
  clickButton(scheduled, "BBNEMAIL");
  EXPECT_EQ(mails_.size(), 1);
  EXPECT_EQ(readAddressFile(), QStringLiteral("bia@x.com;"));

  // Done today: Ana's letters only.
  auto* done = open<TFRMREAVALIACAOFEITA>("MnAvaliaesFeitas");
  ASSERT_TRUE(done);
  typePeriod(done, formatTypedDate(today_), formatTypedDate(today_));
  clickButton(done, "BBNVIDEO");
  ASSERT_EQ(reports_.size(), 2);
  QStringList names;
  for (const ReportRow& row : reports_[1].rows) names << row.cells[3];
  EXPECT_EQ(names, (QStringList{"ANA", "ANA"}));

  testPrompter().clear();
  typePeriod(scheduled, QStringLiteral("01/01/2020"), QStringLiteral("31/01/2020"));
  clickButton(scheduled, "BBNVIDEO");
  clickButton(scheduled, "BBNEMAIL");
  EXPECT_EQ(testPrompter().texts(),
            (QStringList{Msg::NenhumResultadoEncontrado, Msg::NenhumResultadoEncontrado}));
  EXPECT_EQ(reports_.size(), 2);
  EXPECT_EQ(mails_.size(), 1);
}

TEST_F(ReassessmentWindows, TheCommandWritesEitherListAndRefusesWhatIsWrong) {
  const QString pdf = QDir(home_.path()).filePath(QStringLiteral("lista.pdf"));
  const QString from = formatTypedDate(today_.addDays(-today_.day() + 1));
  const QString to = formatTypedDate(today_);
  FILE* devnull = fopen("/dev/null", "w");
  const auto run = [&](const QStringList& args) {
    return runReassessmentReportCommand(args, devnull, devnull);
  };

  // Wrong calls show the usage and give 2.
  const QStringList wrong[] = {
      {"done", "--from", from, "--to", to},
      {"done", "--pdf", pdf},
      {"soon", "--from", from, "--to", to, "--pdf", pdf},
      {"scheduled", "--from", from, "--to", to, "--synthetic", "--pdf", pdf},
      {"done", "--from", from, "--to", to, "--evaluator", "", "--pdf", pdf},
  };
  for (const QStringList& args : wrong) EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();

  // A refused period says so in the window's words and gives 1.
  EXPECT_EQ(run({"done", "--from", "02/02/2026", "--to", "01/02/2026", "--pdf", pdf}), 1);
  EXPECT_EQ(run({"done", "--from", "32/01/2026", "--to", "01/02/2026", "--pdf", pdf}), 1);
  EXPECT_EQ(testPrompter().texts(), (QStringList{Msg::IntervaloInvalido, Msg::DadoIncorreto}));
  EXPECT_FALSE(QFile::exists(pdf));

  EXPECT_EQ(run({"done", "--from", from, "--to", to, "--synthetic", "--pdf", pdf}), 0);
  QStringList lines = pdfLines(pdf);
  EXPECT_FALSE(lines.filter(QStringLiteral("Séries Feitas")).isEmpty());
  EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^Total de Alunos no Período :\\s+1$")))
                .size(),
            1)
      << lines.join('\n').toStdString();

  EXPECT_EQ(run({"scheduled", "--from", from, "--to", formatTypedDate(today_.addDays(2)),
                 "--evaluator", "7", "--pdf", pdf}),
            0);
  lines = pdfLines(pdf);
  EXPECT_FALSE(lines.filter(QStringLiteral("Séries Agendadas")).isEmpty());
  EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^Total de Alunos no Período :\\s+3$")))
                .size(),
            1)
      << lines.join('\n').toStdString();

  testPrompter().clear();
  EXPECT_EQ(run({"scheduled", "--from", from, "--to", to, "--evaluator", "8", "--pdf", pdf}), 1);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::NenhumResultadoEncontrado});
  fclose(devnull);
}

}  // namespace
