#include "followup/expired_series_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "followup/email_window.h"
#include "followup/expired_series.h"
#include "forms/buttons_off.h"
#include "forms/report_controls.h"
#include "forms/session.h"
#include "printing/report_output.h"

namespace {

const QString kInfo = QStringLiteral("!");

}  // namespace

TFRMSERIESVENCIDAS::TFRMSERIESVENCIDAS(Session& session, QWidget* parent)
    : ChildWindow(session, parent) {
  setObjectName(QStringLiteral("TFRMSERIESVENCIDAS"));
  setWindowTitle(QStringLiteral("Relatório de Séries Vencidas"));
  build();
  setPreferredSize(QSize(760, 170));
}

void TFRMSERIESVENCIDAS::build() {
  auto* layout = new QGridLayout(this);
  CBFUNCIONARIOS = addEvaluatorBox(this, layout, 0);
  const ReportButtons buttons = addReportButtons(this, layout, 1, QStringLiteral("Impressora"));
  BBNVIDEO = buttons.BBNVIDEO;
  BBNIMPRIME = buttons.BBNIMPRIME;
  BBNEMAIL = buttons.BBNEMAIL;
  BBNRETORNA = buttons.BBNRETORNA;
  connect(BBNVIDEO, &QPushButton::clicked, this, [this] { output(true); });
  connect(BBNIMPRIME, &QPushButton::clicked, this, [this] { output(false); });
  connect(BBNEMAIL, &QPushButton::clicked, this, &TFRMSERIESVENCIDAS::BBNEMAILClick);
  connect(BBNRETORNA, &QPushButton::clicked, this, &ChildWindow::closeWindow);
}

bool TFRMSERIESVENCIDAS::ABRE_TABELAS() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Result<InstructorList> staff = openInstructorList(session().rereadSettings());
  QApplication::restoreOverrideCursor();
  if (!staff.okOrTell()) {
    MENSAGEM(kInfo, Msg::RegistroJaAlocado);
    return false;
  }
  settings_ = staff->settings;
  people_ = staff->people;
  peopleConnection_ = std::move((*staff).connection);
  CBFUNCIONARIOS->addItems(staff->entries);
  CBFUNCIONARIOS->setCurrentIndex(0);
  BBNVIDEO->setFocus();
  return true;
}

void TFRMSERIESVENCIDAS::closeTables() {
  peopleConnection_.reset();
}

QDate TFRMSERIESVENCIDAS::cutOff() const {
  return expiryCutOff(QDate::currentDate(), settings_.tempoReavaliacao.trimmed().toInt());
}

std::optional<QString> TFRMSERIESVENCIDAS::chosenInstructor() const {
  return instructorOfEntry(CBFUNCIONARIOS->currentText());
}

void TFRMSERIESVENCIDAS::output(bool preview) {
  {
    ButtonsOff off{BBNVIDEO, BBNIMPRIME};
    const Result<QList<ExpiredRow>> rows =
        expiredSeries(session().workoutDatabase(), peopleConnection_->database(), people_,
                      settings_.membersKeptHere(), cutOff(), chosenInstructor());
    if (rows && rows->isEmpty()) {
      MENSAGEM(kInfo, Msg::NenhumResultadoEncontrado);
    } else if (rows.okOrTell()) {
      const ExpiryHeading heading{G().GSTR_ACADEMIA.str(), QDateTime::currentDateTime(),
                                  CBFUNCIONARIOS->currentText()};
      QApplication::restoreOverrideCursor();
      outputReport(expiredSeriesReport(*rows, heading), preview, this);
      QApplication::setOverrideCursor(Qt::WaitCursor);
    }
  }
  CBFUNCIONARIOS->setCurrentIndex(0);
}

void TFRMSERIESVENCIDAS::BBNEMAILClick() {
  ButtonsOff off{BBNEMAIL};
  const Result<ExpiredAddresses> found =
      expiredAddresses(session().workoutDatabase(), peopleConnection_->database(), people_,
                       cutOff(), chosenInstructor());
  CBFUNCIONARIOS->setCurrentIndex(0);
  if (!found.okOrTell()) return;
  if (found->members == 0) {
    MENSAGEM(kInfo, Msg::NenhumResultadoEncontrado);
    return;
  }
  off.endHourglass();
  offerAddressFile(session(), found->addresses, this);
}
