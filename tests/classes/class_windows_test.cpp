// The group-class windows as the reception uses them, on the installation's gym-management
// database: booking through the questions, the class registry's checks, and the attendance
// report's period.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "base/globals.h"
#include "base/messages.h"
#include "base/typed_date.h"
#include "classes/attendance_window.h"
#include "classes/class_booking_window.h"
#include "classes/class_registry_window.h"
#include "data/sql.h"
#include "printing/report_output.h"
#include "support/frame_fixture.h"
#include "support/test_env.h"

namespace {

QString number(int n) {
  return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
}

class ClassWindows : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    gym_ = session_.management().database();
    setSetting(QStringLiteral("CLIENTE"), 7.0);
    session_.rereadSettings();
    today_ = QDate::currentDate();
    runSql(gym_, QStringLiteral("INSERT INTO Sacvar2 (CONTROLEPORRECEPCIONISTA, "
                                "AgendamentoAulaPortal, FILIAL, Controle_Agendamento_Turma, "
                                "Exclui_Turma_Agendamento) VALUES ('Não', 'Não', '01', 'Sim', 'X')"));
    runSql(gym_, QStringLiteral("INSERT INTO Caixa (DATAABERTURA) VALUES (?)"), {today_});
    runSql(gym_, QStringLiteral("INSERT INTO Atividades (CODIGO, DESCRICAO) VALUES ('02', 'CICLISMO')"));
    runSql(gym_, QStringLiteral("INSERT INTO FUNCIONARIOS (MATRICULA, NOME, CARGO) VALUES "
                                "('0000000003', 'CARLA', 'PROF')"));
    runSql(gym_,
           QStringLiteral("INSERT INTO AulasColetivas (Codigo, Descricao, Atividade, "
                          "Codigo_Atividade, Maximo_Alunos, Funcionario, Cliente, HORA_INICIAL, "
                          "HORA_FINAL) VALUES ('01', 'SPINNING', '02-CICLISMO', '02', 2, 'CARLA', 7, "
                          "?, ?)"),
           {QDateTime(QDate(1899, 12, 30), QTime(7, 0)), QDateTime(QDate(1899, 12, 30), QTime(8, 0))});
    runSql(gym_, QStringLiteral("INSERT INTO Turma (CODIGO, SEG, TER, QUA, QUI, SEX, SAB, DOM) "
                                "VALUES ('UMDIA', ?, ?, ?, ?, ?, ?, ?)"),
           {true, false, false, false, false, false, false});
    for (auto [n, name] : {std::pair{1, "ANA"}, {2, "BETO"}, {3, "CAIO"}, {4, "DORA"}}) {
      runSql(gym_,
             QStringLiteral("INSERT INTO ALUNOSATIVOS (MATRICULA, NOME, BOLSISTA, Gympass, "
                            "DIA_VENCIMENTO, TURMA_A) VALUES (?, ?, ?, ?, 10, ?)"),
             {number(n), name, false, n == 4, n == 3 ? QStringLiteral("UMDIA") : QString()});
      if (n != 2) {  // BETO is not in the activity
        runSql(gym_, QStringLiteral("INSERT INTO AlunosAtividades (MATRICULA, ATIVIDADE) VALUES (?, '02')"),
               {number(n)});
        runSql(gym_, QStringLiteral("INSERT INTO Receb (MATRICULA, MES, ANO) VALUES (?, ?, ?)"),
               {number(n), today_.toString(QStringLiteral("MM")), today_.toString(QStringLiteral("yyyy"))});
      }
    }
  }

  int booked() { return scalarSql(gym_, QStringLiteral("SELECT COUNT(*) FROM FrequenciaAula")).toInt(); }

  QSqlDatabase gym_;
  QDate today_;
};

TEST_F(ClassWindows, BookingGoesThroughItsQuestionsAndTheListShowsThePlacesLeft) {
  TFRMFREQUENCIAAULAS window(session_, nullptr, window_.get());
  window.show();
  QApplication::processEvents();
  ASSERT_EQ(window.classList()->count(), 1);
  EXPECT_TRUE(window.classList()->currentText().endsWith(QStringLiteral(" Vagas : 2")));
  EXPECT_EQ(window.bookingDate(), today_);

  // BETO paid nothing (a warning only) and does not belong to the activity (a refusal).
  ASSERT_TRUE(window.search()->locate(number(2)));
  window.bookCurrentMember();
  EXPECT_EQ(testPrompter().texts(),
            (QStringList{Msg::AgendamentoDeAula, Msg::AlunoNaoPertenceAtividade}));
  EXPECT_EQ(testPrompter().messages()[0].detail, QStringLiteral("Aluno Inadimplente!"));
  EXPECT_EQ(booked(), 0);

  // ANA: "Agendar Aluno(a) ?" Yes, then a second time she may be taken out.
  testPrompter().clear();
  testPrompter().answerNext(kAnswerYes);
  ASSERT_TRUE(window.search()->locate(number(1)));
  window.bookCurrentMember();
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::AgendarAluno});
  EXPECT_EQ(booked(), 1);
  EXPECT_TRUE(window.classList()->currentText().endsWith(QStringLiteral(" Vagas : 1")));
  testPrompter().clear();
  testPrompter().answerNext(kAnswerYes);
  ASSERT_TRUE(window.search()->locate(number(1)));
  window.bookCurrentMember();
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::AlunoJaAgendado});
  EXPECT_EQ(booked(), 0);

  // A Gympass member is booked without the activity; then the class is full.
  testPrompter().answerNext(kAnswerYes);
  ASSERT_TRUE(window.search()->locate(number(4)));
  window.bookCurrentMember();
  testPrompter().answerNext(kAnswerYes);
  ASSERT_TRUE(window.search()->locate(number(1)));
  window.bookCurrentMember();
  EXPECT_EQ(booked(), 2);
  testPrompter().clear();
  ASSERT_TRUE(window.search()->locate(number(3)));
  window.bookCurrentMember();
  EXPECT_EQ(testPrompter().texts().last(), Msg::AulaColetivaSemVaga);
  EXPECT_TRUE(window.classList()->currentText().endsWith(QStringLiteral(" Vagas : 0")));

  // The day before the cash opening is refused; the next day has every place.
  testPrompter().clear();
  window.chooseDate(today_.addDays(-1));
  EXPECT_EQ(testPrompter().messages().last().detail,
            QStringLiteral("Data de Agendamento MENOR que Data do Caixa"));
  EXPECT_EQ(window.bookingDate(), today_);
  window.chooseDate(today_.addDays(1));
  EXPECT_TRUE(window.classList()->currentText().endsWith(QStringLiteral(" Vagas : 2")));
  window.reject();
}

TEST_F(ClassWindows, TheWeeklyLimitStopsAMemberWhoseWeekIsFull) {
  // CAIO's group allows one day a week; a booking earlier in the same week uses it.
  const Week week = weekOf(today_);
  runSql(gym_,
         QStringLiteral("INSERT INTO FrequenciaAula (Data, Codigo_Aula, Descricao_Aula, Matricula, "
                        "Cliente) VALUES (?, '01', 'SPINNING', ?, 7)"),
         {week.last == today_ ? week.first : week.last, number(3)});
  TFRMFREQUENCIAAULAS window(session_, nullptr, window_.get());
  window.show();
  QApplication::processEvents();
  ASSERT_TRUE(window.search()->locate(number(3)));
  window.bookCurrentMember();
  ASSERT_EQ(testPrompter().texts(), QStringList{Msg::AgendamentoDeAula});
  EXPECT_TRUE(testPrompter().messages()[0].detail.startsWith(
      QStringLiteral("\n\rFim do Limite de Dias!\n\rPeríodo da semana -> ") +
      week.first.toString(QStringLiteral("dd/MM/yyyy"))));
  EXPECT_EQ(booked(), 1);
  window.reject();
}

TEST_F(ClassWindows, TheRegistryPadsTheCodeAndRefusesAnEndNotAfterTheStart) {
  TFRMFREQUENCIAAULAS booking(session_, nullptr, window_.get());
  booking.show();
  QApplication::processEvents();
  TFRMCADASTROAULAS registry(session_, booking.desk(), &booking);
  registry.show();
  QApplication::processEvents();
  ASSERT_EQ(registry.classes().size(), 1);
  registry.SBINCLUIRClick();
  typeEnter(&registry, "DBEDTCODIGO", QStringLiteral("1"));
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::CodigoJaCadastrado});
  testPrompter().clear();
  typeEnter(&registry, "DBEDTCODIGO", QStringLiteral("7"));
  EXPECT_EQ(registry.findChild<QLineEdit*>(QStringLiteral("DBEDTCODIGO"))->text(), QStringLiteral("07"));
  EXPECT_TRUE(testPrompter().messages().isEmpty());
  for (auto [field, value] : {std::pair{"DBEDTDESCRICAO", "PILATES"}, {"DBEDTNUMERO", "10"},
                              {"DBEDTHORA_INICIAL", "10:00"}, {"DBEDTHORA_FINAL", "10:00"}})
    registry.findChild<QLineEdit*>(QString::fromLatin1(field))->setText(QString::fromLatin1(value));
  registry.findChild<QComboBox*>(QStringLiteral("DBCBPROFESSOR"))->setCurrentIndex(0);
  registry.findChild<QComboBox*>(QStringLiteral("DBCBATIVIDADE"))->setCurrentIndex(0);
  registry.BBNCONFIRMAClick();
  EXPECT_EQ(testPrompter().texts(), QStringList{Msg::IntervaloInvalido});
  EXPECT_EQ(registry.mode(), TFRMCADASTROAULAS::Mode::Insert);
  registry.findChild<QLineEdit*>(QStringLiteral("DBEDTHORA_INICIAL"))->setText(QStringLiteral("9:59"));
  registry.BBNCONFIRMAClick();
  EXPECT_EQ(registry.mode(), TFRMCADASTROAULAS::Mode::Browse);
  ASSERT_EQ(registry.classes().size(), 2);
  EXPECT_EQ(registry.classes()[1].codigo, QStringLiteral("07"));
  EXPECT_EQ(registry.classes()[1].horaInicial, QTime(9, 59));
  EXPECT_EQ(registry.classes()[1].codigoAtividade, QStringLiteral("02"));
  registry.accept();
  booking.rebuildClassList();
  EXPECT_EQ(booking.classList()->count(), 2);
  booking.reject();
}

TEST_F(ClassWindows, TheAttendanceReportRefusesAnEndBeforeTheStart) {
  QList<Report> reports;
  setReportOutput([&](const Report& report, bool, QWidget*) { reports << report; });
  TFRMFREQUENCIAAULAS booking(session_, nullptr, window_.get());
  booking.show();
  QApplication::processEvents();
  TFRMRELATORIOFREQUENCIAAULASCOLETIVAS report(booking.desk(), booking.classes(),
                                               booking.cashOpening(), &booking);
  auto* from = report.findChild<QLineEdit*>(QStringLiteral("EDTDATAINICIAL"));
  auto* to = report.findChild<QLineEdit*>(QStringLiteral("EDTDATAFINAL"));
  EXPECT_EQ(from->text(), formatTypedDate(today_));
  EXPECT_EQ(report.findChild<QComboBox*>(QStringLiteral("CBAULAS"))->currentText(),
            QStringLiteral("99 - TODAS"));
  to->setText(formatTypedDate(today_.addDays(-1)));
  EXPECT_FALSE(report.VIDEO_IMPRESSORA(true));
  EXPECT_EQ(testPrompter().messages().last().detail,
            QStringLiteral("Data final Menor que Data inicial"));
  EXPECT_TRUE(to->text().isEmpty());
  to->setText(formatTypedDate(today_));
  EXPECT_TRUE(report.VIDEO_IMPRESSORA(true));
  EXPECT_EQ(reports.size(), 1);
  setReportOutput(nullptr);
  booking.reject();
}

}  // namespace

namespace {

TEST_F(ClassWindows, WithThePortalSwitchOnClassesAndBookingsLiveInThePortal) {
  runSql(gym_, QStringLiteral("UPDATE Sacvar2 SET AgendamentoAulaPortal = 'Sim'"));
  std::unique_ptr<Connection> portal = Session::newConnection(DataSource::Ondrel, "teste-portal");
  ASSERT_TRUE(portal->open());
  runSql(portal->database(),
         QStringLiteral("INSERT INTO AulasColetivas (Codigo, Descricao, Atividade, "
                        "Codigo_Atividade, Maximo_Alunos, Funcionario, Cliente) VALUES ('05', "
                        "'YOGA NO PORTAL', '02-CICLISMO', '02', 5, 'CARLA', 7)"));
  TFRMFREQUENCIAAULAS window(session_, nullptr, window_.get());
  window.show();
  QApplication::processEvents();
  ASSERT_EQ(window.classes().size(), 1);
  EXPECT_EQ(window.classes()[0].descricao, QStringLiteral("YOGA NO PORTAL"));
  testPrompter().answerNext(kAnswerYes);
  ASSERT_TRUE(window.search()->locate(number(1)));
  window.bookCurrentMember();
  EXPECT_EQ(scalarSql(portal->database(), QStringLiteral("SELECT COUNT(*) FROM FrequenciaAula")).toInt(), 1);
  EXPECT_EQ(booked(), 0);
  EXPECT_TRUE(window.classList()->currentText().endsWith(QStringLiteral(" Vagas : 4")));
  window.reject();
}

}  // namespace
