// The absent-members window and the expired-series window as the receptionist uses them, on the
// installation's own databases: what they list, what "Todos Alunos" and the e-mail list write,
// and what reaches the e-mail window and the report output.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "base/globals.h"
#include "base/messages.h"
#include "data/sql.h"
#include "followup/absent_members_window.h"
#include "followup/email_address.h"
#include "followup/email_window.h"
#include "followup/expired_series_window.h"
#include "followup/followup_commands.h"
#include "printing/report_output.h"
#include "support/frame_fixture.h"
#include "support/test_env.h"

namespace {

QString number(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

class FollowUpWindows : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    gym_ = session_.management().database();
    setMailWindowOpener(recordMail());
    setReportOutput([this](const Report& report, bool preview, QWidget*) {
      reports_ << report;
      previews_ << preview;
    });
  }
  void TearDown() override {
    setMailWindowOpener(nullptr);
    setReportOutput(nullptr);
    FrameFixture::TearDown();
  }

  std::function<void(Session&, const EmailRecipients&, QWidget*)> recordMail() {
    return [this](Session&, const EmailRecipients& recipients, QWidget*) {
      mails_ << recipients;
      mailFile_ << (recipients.fromAddressFile() ? readAddressFile().value_or(QString())
                                                 : recipients.address());
    };
  }

  void addGymMember(int n, const QString& name, const QString& email, int daysAway) {
    runSql(gym_,
           QStringLiteral("INSERT INTO ALUNOS (MATRICULA, NOME, EMAIL, TELEFONE_CELULAR, BOLSISTA) "
                          "VALUES (?, ?, ?, '(21)99999-0000', ?)"),
           {number(n), name, email, false});
    runSql(gym_, QStringLiteral("INSERT INTO ACESSO (MATRICULA, DATA) VALUES (?, ?)"),
           {number(n), QDateTime::currentDateTime().addDays(-daysAway)});
  }

  QSqlDatabase gym_;
  QList<EmailRecipients> mails_;
  QStringList mailFile_;
  QList<Report> reports_;
  QList<bool> previews_;
};

TEST_F(FollowUpWindows, AbsentMembersAreListedAndTodosAlunosWritesEachAddressOnce) {
  G().GINT_DIAS_AUSENTES = 15;
  addGymMember(1, QStringLiteral("ANA"), QStringLiteral("casa@x.com"), 15);
  addGymMember(2, QStringLiteral("ANDRE"), QStringLiteral("casa@x.com"), 15);
  addGymMember(3, QStringLiteral("BRUNO"), QStringLiteral("bruno@x.com"), 15);
  addGymMember(4, QStringLiteral("CARLA"), QStringLiteral("carla@x.com"), 16);
  const int openBefore = G().GINT_JANELAS_ABERTAS;
  G().GINT_JANELAS_ABERTAS += 1;
  TFRMALUNOSAUSENTES window(session_, window_.get());
  window.show();
  QApplication::processEvents();
  ASSERT_EQ(window.members().size(), 3);
  EXPECT_EQ(window.members()[2].nome, QStringLiteral("BRUNO"));

  // The search moves to the first name it begins; the e-mail goes to that member.
  QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("EDTMATRICULA")), "br");
  EXPECT_EQ(window.currentRow(), 2);
  clickButton(&window, "SBEMAIL");
  ASSERT_EQ(mails_.size(), 1);
  EXPECT_TRUE(mails_[0].absentPresets());
  EXPECT_EQ(mailFile_[0], QStringLiteral("bruno@x.com"));
  EXPECT_FALSE(G().GBOL_EMAIL_AUSENTES);

  window.findChild<QCheckBox*>(QStringLiteral("CBTODOSALUNOS"))->setChecked(true);
  clickButton(&window, "SBEMAIL");
  ASSERT_EQ(mails_.size(), 2);
  EXPECT_TRUE(mails_[1].fromAddressFile());
  EXPECT_EQ(mailFile_[1], QStringLiteral("casa@x.com;bruno@x.com;"));
  EXPECT_FALSE(window.findChild<QCheckBox*>(QStringLiteral("CBTODOSALUNOS"))->isChecked());

  window.reject();
  EXPECT_EQ(G().GINT_JANELAS_ABERTAS, openBefore);
}

TEST_F(FollowUpWindows, TheTimerBlinksOnceAnAbsentMemberExistsAndTellsAFailureOnce) {
  G().GINT_DIAS_AUSENTES = 15;
  G().GBOL_SISTEMA_LOCAL = false;
  addGymMember(1, QStringLiteral("ANA"), QStringLiteral("ana@x.com"), 10);
  AbsentWatch watch;
  watch.ALUNOS_AUSENTES(session_);
  EXPECT_FALSE(G().GBOL_TEM_AUSENTES);
  // The warning is set to ten days: the next tick asks about the day ten days back.
  G().GINT_DIAS_AUSENTES = 10;
  watch.ALUNOS_AUSENTES(session_);
  EXPECT_TRUE(G().GBOL_TEM_AUSENTES);

  // A new day's first tick reads the log; while it cannot, that is told once, not every tick.
  G().GBOL_TEM_AUSENTES = false;
  runSql(gym_, QStringLiteral("DROP TABLE ACESSO"));
  testPrompter().clear();
  AbsentWatch nextDay;
  for (int tick = 0; tick < 3; ++tick) nextDay.ALUNOS_AUSENTES(session_);
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::BriscaInativo});
  EXPECT_FALSE(G().GBOL_TEM_AUSENTES);
}

TEST_F(FollowUpWindows, ExpiredSeriesPreviewForOneInstructorAndTheEmailList) {
  setSetting(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("03"));
  runSql(workout(), QStringLiteral("INSERT INTO Funcionarios (MATRICULA, NOME, CARGO) VALUES "
                                   "('0000000007', 'RICARDO', 'PROF MUSC')"));
  runSql(workout(), QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, EMAIL) VALUES "
                                   "('0000000001', 'ANA', 'ana@x.com')"));
  const QDate old = QDate::currentDate().addMonths(-5);
  for (const auto& [member, instructor] : {std::pair{1, 7}, std::pair{2, 8}})
    runSql(workout(),
           QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                          "Data_Reavaliacao, Professor, Ordem) VALUES (?, 'A', '001', ?, ?, ?, 1)"),
           {number(member), old, old.addMonths(3), number(instructor)});
  auto* window = openEntry<TFRMSERIESVENCIDAS>("MnSeriesVencidas");
  ASSERT_TRUE(window);
  QApplication::processEvents();
  auto* instructors = window->findChild<QComboBox*>(QStringLiteral("CBFUNCIONARIOS"));
  ASSERT_EQ(instructors->count(), 2);
  instructors->setCurrentIndex(1);
  clickButton(window, "BBNVIDEO");
  ASSERT_EQ(reports_.size(), 1);
  EXPECT_TRUE(previews_[0]);
  ASSERT_EQ(reports_[0].rows.size(), 1);
  EXPECT_EQ(reports_[0].rows[0].cells[1], QStringLiteral("ANA"));
  EXPECT_EQ(instructors->currentIndex(), 0);  // back to "TODOS"

  testPrompter().answerNext(kAnswerYes);
  clickButton(window, "BBNEMAIL");
  EXPECT_EQ(testPrompter().texts(), QStringList{QStringLiteral("Deseja Enviar e-mail(s) ?")});
  ASSERT_EQ(mails_.size(), 1);
  EXPECT_TRUE(mails_[0].fromAddressFile());
  EXPECT_EQ(mailFile_[0], QStringLiteral("ana@x.com;"));  // the member who is gone has none
  EXPECT_FALSE(G().GBOL_EMAIL_RELATORIO);
}

TEST_F(FollowUpWindows, TheCommandsWriteTheReportAndTheAddressFile) {
  setSetting(QStringLiteral("TEMPO_REAVALIACAO"), QStringLiteral("03"));
  runSql(workout(), QStringLiteral("INSERT INTO Alunos (MATRICULA, NOME, EMAIL) VALUES "
                                   "('0000000001', 'ANA', 'ana@x.com')"));
  const QDate old = QDate::currentDate().addMonths(-5);
  runSql(workout(),
         QStringLiteral("INSERT INTO Treino (Matricula, Treino, Codigo_exercicio, Data, "
                        "Professor, Ordem) VALUES ('0000000001', 'A', '001', ?, '0000000007', 1)"),
         {old});
  const QString pdf = QDir(home_.path()).filePath(QStringLiteral("vencidas.pdf"));
  const QString emails = QDir(home_.path()).filePath(QStringLiteral("emails.doc"));
  FILE* devnull = fopen("/dev/null", "w");
  EXPECT_EQ(runExpiredCommand({QStringLiteral("--pdf"), pdf}, devnull, devnull), 0);
  EXPECT_GT(QFileInfo(pdf).size(), 0);
  EXPECT_EQ(runExpiredCommand({QStringLiteral("--instructor"), QStringLiteral("7"),
                               QStringLiteral("--emails"), emails},
                              devnull, devnull),
            0);
  EXPECT_EQ(readAddressFile(emails), QStringLiteral("ana@x.com;"));
  EXPECT_EQ(runExpiredCommand(
                {QStringLiteral("--instructor"), QStringLiteral("8"), QStringLiteral("--pdf"), pdf},
                devnull, devnull),
            1);  // nothing expired for that instructor
  EXPECT_EQ(runExpiredCommand({QStringLiteral("--pdf"), pdf, QStringLiteral("--emails"), emails},
                              devnull, devnull),
            2);
  EXPECT_EQ(runAbsentCommand({}, devnull, devnull), 0);  // the warning is off: nothing to list
  fclose(devnull);
}

}  // namespace
