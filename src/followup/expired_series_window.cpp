#include "followup/expired_series_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "followup/email_address.h"
#include "followup/email_window.h"
#include "followup/expired_series.h"
#include "forms/named_button.h"
#include "forms/session.h"
#include "printing/report_output.h"

namespace {

const QString kInfo = QStringLiteral("!");

// The buttons stay off while a report or a list is being made, and come back however it ends.
class ButtonsOff {
 public:
  explicit ButtonsOff(std::initializer_list<QPushButton*> buttons) : buttons_(buttons) {
    for (QPushButton* b : buttons_) b->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~ButtonsOff() {
    QApplication::restoreOverrideCursor();
    for (QPushButton* b : buttons_) b->setEnabled(true);
  }

 private:
  QList<QPushButton*> buttons_;
};

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
  layout->addWidget(new QLabel(QStringLiteral("Avaliador"), this), 0, 0);
  CBFUNCIONARIOS = new QComboBox(this);
  CBFUNCIONARIOS->setObjectName(QStringLiteral("CBFUNCIONARIOS"));
  CBFUNCIONARIOS->setEditable(false);  // chosen from the list, never typed
  layout->addWidget(CBFUNCIONARIOS, 0, 1, 1, 4);
  BBNVIDEO = namedButton(this, "BBNVIDEO", QStringLiteral("Vídeo"), QStringLiteral("Vídeo"));
  BBNIMPRIME =
      namedButton(this, "BBNIMPRIME", QStringLiteral("Impressora"), QStringLiteral("Impressora"));
  BBNEMAIL = namedButton(this, "BBNEMAIL", QStringLiteral("Gerar listagem (email) em formato DOC"));
  BBNRETORNA = namedButton(this, "BBNRETORNA", QStringLiteral("Sair"), QStringLiteral("Sair"));
  layout->addWidget(BBNVIDEO, 1, 1);
  layout->addWidget(BBNIMPRIME, 1, 2);
  layout->addWidget(BBNEMAIL, 1, 3);
  layout->addWidget(BBNRETORNA, 1, 4);
  layout->setColumnStretch(1, 1);
  connect(BBNVIDEO, &QPushButton::clicked, this, [this] { output(true); });
  connect(BBNIMPRIME, &QPushButton::clicked, this, [this] { output(false); });
  connect(BBNEMAIL, &QPushButton::clicked, this, &TFRMSERIESVENCIDAS::BBNEMAILClick);
  connect(BBNRETORNA, &QPushButton::clicked, this, &ChildWindow::closeWindow);
}

bool TFRMSERIESVENCIDAS::ABRE_TABELAS() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::optional<Settings> settings = session().rereadSettings();
  QStringList entries;
  bool opened = false;
  if (!settings) {
    QApplication::restoreOverrideCursor();
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
  } else {
    settings_ = *settings;
    people_ = peopleTables(settings_);
    const bool alone = settings_.membersKeptHere();
    const QString detail = alone ? QStringLiteral("Funcionario") : QStringLiteral(" Funcionario");
    Result<std::unique_ptr<Connection>> connection = openPeopleConnection(people_, detail);
    Result<QStringList> staff =
        connection ? expiryInstructorEntries((*connection)->database(), people_.staff)
                   : Result<QStringList>(connection.failure());
    QApplication::restoreOverrideCursor();
    if (staff) {
      peopleConnection_ = std::move(*connection);
      entries = *staff;
      opened = true;
    } else {
      // The staff table that cannot be read says so in its database's words.
      const QString text =
          alone ? Msg::AberturaDeTabela : Msg::BriscaInativo + Msg::AberturaDeTabela;
      tell({text, detail, staff.failure().log});
    }
  }
  if (!opened) {
    MENSAGEM(kInfo, Msg::RegistroJaAlocado);
    return false;
  }
  CBFUNCIONARIOS->addItems(entries);
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
  QApplication::restoreOverrideCursor();
  Globals& g = G();
  g.GBOL_EMAIL_RELATORIO = true;
  if (!writeAddressFile(found->addresses)) {
    MENSAGEM(kInfo, QStringLiteral("Arquivo não pôde ser gravado !"), addressFilePath());
  } else if (MENSAGEM(QStringLiteral("?"), QStringLiteral("Deseja Enviar e-mail(s) ?")) ==
             kAnswerYes) {
    openMailWindow(session(), EmailRecipients::report(), this);
  }
  g.GBOL_EMAIL_RELATORIO = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}
